#pragma once

#include "TextTable.h"

#include <QString>
#include <chrono>
#include <optional>

class SlotState;
class SlotView;
class TQuery;
struct TWindowState;

// One sample of a running slot: its statement run once on the slot's worker, the value of the
// first column of the last row recorded with its time, shown in the status bar and drawn.
namespace SampleTimer {

// tmSample1Timer: the slot's timer is off while its sample is with the server and on again
// only when the sample is recorded; any failure leaves it off with the reason in panel 1.
void tick(SlotState &slot, SlotView &view, const TWindowState &state);

// On the worker: runs "/**/" + the statement and reads every row's values as text.
TextTable TakeSample(TQuery &qryDynamic, const QString &vSQL);

// On the window's thread, the rows as a sample takes them: edValue ends with the first column
// of the last row (empty for none), the value is named unless the user named it, and with
// "Get Raw" ticked every row is copied into the raw rows. bAbort stops before the next row.
void takeRows(SlotState &slot, SlotView &view, const TextTable &result, const bool &bAbort);

// tmWait: the sample has been out longer than the slot's interval.
void waited(SlotView &view);

// The end of a sample: edValue recorded with the time (and the sample's round trip beside them,
// when it has one), shown, drawn, and the timer started again unless drawing failed.
void recordSample(SlotState &slot, SlotView &view,
                  std::optional<std::chrono::microseconds> roundTrip = std::nullopt);

} // namespace SampleTimer
