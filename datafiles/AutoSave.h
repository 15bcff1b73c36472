#pragma once

class SlotState;
class SlotView;
struct TWindowContext;

// Auto Save: a ticked box makes the window-wide five-minute timer append the slot's new pairs
// and raw rows to its files.

// The box was clicked and shows its new state: a ticked box asks for the file, the raw data
// file when Get Raw is ticked, the performance data file otherwise; cancelling unticks it.
void ChooseAutoSaveFile(SlotState &slot, SlotView &view, const TWindowContext &context);

// One tick for one slot: its performance data first, then its raw data, into the files named.
void AutoSaveSlot(SlotState &slot, SlotView &view, const TWindowContext &context);
