#pragma once

class LineList;
class PointLines;
class QCheckBox;
class QLineEdit;
class QTimer;
class QWidget;
class TChart;
class TChartSlot;
class TDialogs;
class TStatusBar;

// A slot's chart drawn from its date and value lists, and the controls that change it.
namespace SlotChart {

// Rewrites the foot text, then adds the newest sample (append) or redraws every sample.
// A line that cannot be read stops the slot: the timer is disabled and panel 1 of the status
// bar tells why. Returns false then; the points drawn before the failure stay. pointLines, when
// given, learns which line each point came from.
bool DrawSlotChart(bool append, TChart &chrtStatistics, const LineList &vDateList,
                   const LineList &vValueList, const QCheckBox &cbDelta, QTimer &tmSample,
                   TStatusBar &sbStatus, const QLineEdit &edValueName, PointLines *pointLines = nullptr);

// DrawSlotChart for the slot, in the mode given.
bool draw(TChartSlot &slot, bool append);

// cbStyle1Change: choosing one of the five items restyles and redraws the chart; typed text
// that is not an item changes nothing.
void changeStyle(TChartSlot &slot);
// cbMarks1Click: the marks follow the box.
void applyMarks(TChartSlot &slot);
// paColor1Click: dlgColor opens on its own last colour; OK colours the swatch and the series.
void chooseColor(TChartSlot &slot, TDialogs &dialogs, QWidget *owner);
// bbtClear1Click: empties the lists and the chart; a running slot goes on sampling.
void clear(TChartSlot &slot);

} // namespace SlotChart
