#include "RunControl.h"

#include "ServerSteps.h"
#include "SlotState.h"
#include "SlotView.h"
#include "StatusPanels.h"
#include "TConnection.h"
#include "TQuery.h"
#include "TWindowState.h"
#include "TextTrim.h"

namespace {

using Deadline = ConnectionWorker::Deadline;

void start(SlotState &slot, SlotView &view)
{
    view.runStarted();
    if (!slot.tmSample.isActive())
        slot.tmSample.start();
}

void fail(SlotState &slot, SlotView &view, const QString &error)
{
    slot.stopSampling();
    view.status().setPanelText(1, QStringLiteral("Brrr... ") + error);
}

void readProcessId(SlotState &slot, SlotView &view, const QString &serverName)
{
    slot.outstanding = slot.dbLocal.request<QString>(
        Deadline::Query,
        [](TConnection &, TQuery &query, QString &spid) { spid = ServerSteps::processId(query); },
        [&slot, &view, serverName](const ConnectionWorker::Reply<QString> &reply) {
            if (!reply.ok())
                return fail(slot, view, reply.error);
            view.status().setPanelText(0, QStringLiteral("S: ") + reply.value + u'@' + serverName);
            start(slot, view);
        });
}

void openConnection(SlotState &slot, SlotView &view, const QString &connectionString, const QString &serverName)
{
    // A login must not queue behind a call the driver may never return from.
    if (slot.dbLocal.busy())
        slot.dbLocal.startAfresh();
    slot.outstanding = slot.dbLocal.request<bool>(
        Deadline::Login,
        [connectionString](TConnection &connection, TQuery &query, bool &) {
            ServerSteps::login(connection, query, connectionString);
        },
        [&slot, &view, serverName](const ConnectionWorker::Reply<bool> &reply) {
            if (!reply.ok())
                return fail(slot, view, reply.error);
            view.status().setPanelText(1, QStringLiteral("Connected to ") + serverName);
            readProcessId(slot, view, serverName);
        });
}

} // namespace

namespace RunControl {

void run(SlotState &slot, SlotView &view, TWindowState &state, StatusPanels &sbStatus, const QString &reSQL,
         const QString &connectionString, const QString &serverName)
{
    sbStatus.setPanelText(2, QString());
    state.bAbort = false;
    // Run's login or a sample is already with the server; its answer carries the slot on.
    if (slot.waiting())
        return;
    if (trimBlanksAndControls(slot.vSQL).isEmpty())
        slot.vSQL = reSQL;
    if (trimBlanksAndControls(slot.vSQL).isEmpty())
        return;
    slot.roundTripSummary.restart();
    if (!view.settings().sameConn || !slot.dbLocal.connected())
        openConnection(slot, view, connectionString, trimBlanksAndControls(serverName));
    else
        start(slot, view);
}

void stop(SlotState &slot, SlotView &view)
{
    slot.stopSampling();
    view.runStopped();
}

QString showSQL(const SlotState &slot)
{
    return slot.vSQL;
}

void updateSQL(SlotState &slot, const QString &reSQL)
{
    slot.vSQL = reSQL;
}

} // namespace RunControl
