#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

class DataFileWriter;
class LineList;

// The lines of the two data files, written alike by the window's saves and by the recorder.
namespace DataFileLines {

// "Date," + the value name, blanks and control characters removed, or "Date,Value" for none.
void writePerformanceHeader(DataFileWriter &file, const QString &valueName);
// The pair at `index` exactly as it stands in the lists: no quoting, no escaping, no trimming.
void writePair(DataFileWriter &file, const LineList &dates, const LineList &values, qsizetype index);

// The slot's delimiter, blanks and control characters removed, or "^" for none.
QString rawDelimiter(const QString &separator);
// The cells joined by the delimiter; a row whose cells hold no text is left out (false).
bool writeRawRow(DataFileWriter &file, const QStringList &cells, const QString &delimiter);

} // namespace DataFileLines
