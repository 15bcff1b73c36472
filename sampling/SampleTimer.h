#pragma once

#include <QStringList>

class QCheckBox;
class QLineEdit;
class QTimer;
class TChartSlot;
class TQuery;
class TStatusBar;
class TStringGrid;
struct TWindowState;

// One sample of a running slot: its statement run once, the value of the first column of the
// last row recorded with its time, shown in the status bar and drawn.
namespace SampleTimer {

// tmSample1Timer: the slot's timer is off while the tick works and on again only when it
// completes; any failure leaves it off with the reason in panel 1.
void tick(TChartSlot &slot, const TWindowState &state);
// The tick after a completed sample: edValue recorded with the time, shown, drawn, and the
// timer started again unless drawing failed.
void recordSample(TChartSlot &slot);

// Runs the statement and reads its rows: edValue ends with the first column of the last row
// read (empty for none), edValueName gets a name unless the user gave one, and with cbRawData
// ticked every row is copied into the grid. bAbort stops before the next row. Returns false
// when the sample failed; the timer is then off and panel 1 tells why.
bool TakeSample(QTimer &tmSample, TQuery &qryDynamic, const QString &vSQL, QStringList &vTmpList,
                const QCheckBox &cbRawData, TStringGrid &sgRawData, QString &edValue, TStatusBar &sbStatus,
                QLineEdit &edValueName, bool withTime, const bool &bAbort);

} // namespace SampleTimer
