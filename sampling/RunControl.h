#pragma once

#include <QString>

class QPlainTextEdit;
class TChartSlot;
struct TWindowContext;

// Starting and stopping a slot, and moving its statement to and from the shared query box.
namespace RunControl {

// bbtStartSampling1Click. connectionString is the one Connect builds from the control strip
// at this moment; it is used only when the slot's connection must be (re)opened.
void run(TChartSlot &slot, TWindowContext context, const QPlainTextEdit &reSQL, const QString &connectionString,
         const QString &serverName);
// bbtStopSampling1Click
void stop(TChartSlot &slot);
// bbtShowSQL1Click
void showSQL(const TChartSlot &slot, QPlainTextEdit &reSQL);
// bbtUpdateSQL1Click
void updateSQL(TChartSlot &slot, const QPlainTextEdit &reSQL);

} // namespace RunControl
