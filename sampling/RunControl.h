#pragma once

#include <QString>

class SlotState;
class SlotView;
class StatusPanels;
struct TWindowState;

// Starting and stopping a slot, and moving its statement to and from the shared query box.
namespace RunControl {

// bbtStartSampling1Click. connectionString is the one Connect builds from the control strip
// at this moment; it is used only when the slot's connection must be (re)opened, which
// happens on the slot's worker: the timer starts once the server has answered. Of the window
// it touches only the abort flag and the main status bar, so the recorder runs it too.
void run(SlotState &slot, SlotView &view, TWindowState &state, StatusPanels &sbStatus, const QString &reSQL,
         const QString &connectionString, const QString &serverName);
// bbtStopSampling1Click: the timer stops and a login or sample still out is abandoned.
void stop(SlotState &slot, SlotView &view);
// bbtShowSQL1Click: the statement for the query box.
QString showSQL(const SlotState &slot);
// bbtUpdateSQL1Click
void updateSQL(SlotState &slot, const QString &reSQL);

} // namespace RunControl
