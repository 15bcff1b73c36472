#pragma once

#include <functional>

class TChartSlot;
struct TWindowContext;

// Redraws a slot's whole chart from its lists (DrawSlotChart in rebuild mode).
using RebuildSlotChart = std::function<void(TChartSlot &)>;

// The Load button: reads a performance data file chosen in the open dialog into the slot's
// lists, stopping its sampling, titles the chart with the value and the time span and redraws
// it. Reports through the main status bar only.
void LoadPerformanceData(TChartSlot &slot, const TWindowContext &context, const RebuildSlotChart &rebuild);
