#pragma once

class TChartSlot;
class TStatusBar;

// The raw-data grid over a slot's chart: shown with "Get Raw", toggled by double clicks,
// emptied by Clear Raw, and the row it is leaving shown in the slot's status bar.
namespace RawGrid {

// cbRawData1Click: the grid fills the chart and is shown exactly while "Get Raw" is ticked.
void followGetRaw(TChartSlot &slot);
// chrtStatistics1DblClick, sgRawData1DblClick: with "Get Raw" ticked, grid and chart swap.
void toggle(TChartSlot &slot);
// bbtClearRawData1Click: back to the title row and one empty row; the columns stay.
void clearRaw(TChartSlot &slot);
// sgRawData1SelectCell: panel 1 keeps its first 13 characters and names the row being left.
void showRowIndicator(TStatusBar &sbStatus, int currentRow);

} // namespace RawGrid
