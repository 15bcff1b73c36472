#pragma once

class SlotState;
class SlotView;
struct TWindowContext;

// The Load button: reads a performance data file chosen in the open dialog into the slot's
// lists, stopping its sampling, titles the chart with the value and the time span and redraws
// it in full. Reports through the main status bar only.
void LoadPerformanceData(SlotState &slot, SlotView &view, const TWindowContext &context);
