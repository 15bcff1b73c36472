#pragma once

#include <QStringList>

class TStringGridModel;
class TextTable;

// Copies whole results into a slot's raw rows: one grid row per result row, below the rows of
// earlier samples, with an optional time column; the grid's last row stays empty.
namespace RawCapture {

// Before the first row: one column per name (and "Time" at the end), the title row written.
void prepare(TStringGridModel &vRawData, const QStringList &vTmpList, bool withTime);
// Row `row` of the result into the empty last row, which then moves down. Returns the new
// empty last row.
int copyRow(TStringGridModel &vRawData, const TextTable &result, qsizetype row, bool withTime);

} // namespace RawCapture
