#pragma once

#include <QString>

class SlotState;
class SlotView;
struct TWindowContext;

// The performance data file: a header line "Date," + value name, then one "date,value" line per
// pair, every line ended by CR LF, in the system's narrow encoding.

// The Export button: asks, lets the user choose the file, keeps its name as the slot's
// performance data file and saves into it.
void ExportPerformanceData(SlotState &slot, SlotView &view, const TWindowContext &context);

// Appends the slot's pairs after its export marker (from index 0, with the header line, when
// the file is new). Reports through the two status bars and the closing question only.
// The name is taken by value: the slot's own name may change while the save lets events run.
void SavePerformanceData(QString fileName, SlotState &slot, SlotView &view, const TWindowContext &context);
