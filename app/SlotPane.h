#pragma once

class QWidget;
class TChartSlot;

// Builds one slot's pane (status bar, chart, fold bar, control strip) into the slot;
// called once for each of the six slots.
void buildSlotPane(TChartSlot &slot, QWidget *parent);
