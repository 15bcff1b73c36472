#pragma once

#include <QString>

class SlotState;
class SlotView;
struct TWindowContext;

// The raw data file: one line per raw row that holds any text, the cells joined by the slot's
// delimiter, every line ended by CR LF, in the system's narrow encoding.

// The Export Raw button: asks, lets the user choose the file, keeps its name as the slot's raw
// data file and saves into it.
void ExportRawData(SlotState &slot, SlotView &view, const TWindowContext &context);

// Appends the raw rows after the raw export marker (from row 0, the column names, when the
// file is new). The name is taken by value, as for SavePerformanceData.
void SaveRawData(QString fileName, SlotState &slot, SlotView &view, const TWindowContext &context);
