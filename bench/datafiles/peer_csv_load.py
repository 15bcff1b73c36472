"""Loads a performance data file the way a user's own script would: the csv module, each date
parsed with strptime and each value with float. The peer of the program's own load."""
import csv
import sys
from datetime import datetime

dates, values = [], []
with open(sys.argv[1], newline="", encoding="utf-8") as file:
    rows = csv.reader(file)
    next(rows)  # the header line
    for date, value in rows:
        dates.append(datetime.strptime(date, "%d/%m/%Y %H:%M:%S"))
        values.append(float(value))
print(len(dates))
