#pragma once

#include <QStringList>

class TQuery;
class TStringGrid;

// Copies whole results into a slot's raw grid: one grid row per result row, below the rows of
// earlier samples, with an optional time column; the grid's last row stays empty.
namespace RawCapture {

// Before the first row: one column per name (and "Time" at the end), the title row written.
void prepare(TStringGrid &sgRawData, const QStringList &vTmpList, bool withTime);
// The query's current row into the empty last row, which then moves down and becomes current.
void copyRow(TStringGrid &sgRawData, const QStringList &vTmpList, const TQuery &qryDynamic, bool withTime);

} // namespace RawCapture
