#pragma once

#include <QString>
#include <chrono>

class RoundTripSummary;
class TChartSlot;

// What the mouse reads off a slot: beside a point of its chart, the sample's lines as the lists
// hold them, the plotted difference in delta mode and the sample's round trip; on the value
// panel, the round trips since Run.
namespace SampleReadout {

// "0.42 ms", "12.3 ms", "203 ms", "4.56 s", with the system's decimal point.
QString durationText(std::chrono::microseconds duration);

// The readout of a point of the slot's chart; empty for a point no line is known for.
QString pointText(const TChartSlot &slot, int point);

// The value panel's tooltip; empty before the first sample since Run.
QString summaryText(const RoundTripSummary &summary);

// Gives the slot's chart its readout and its value panel the round-trip tooltip.
void attach(TChartSlot &slot);

} // namespace SampleReadout
