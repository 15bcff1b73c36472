#include "ConnectToServer.h"

#include "AppPaths.h"
#include "ConnectionView.h"
#include "ServerList.h"
#include "ServerSteps.h"
#include "SharedConnection.h"
#include "StatusPanels.h"
#include "TConnection.h"
#include "TDialogs.h"
#include "TQuery.h"
#include "TWindowState.h"

namespace {

using Deadline = ConnectionWorker::Deadline;
using Kind = SharedConnection::Kind;

void rememberServer(ConnectionView &controls, const QString &server, QStringList &scratch)
{
    const QString fileName = AppPaths::serverListFile();
    // The list is a convenience: a locked or read-only file must not stop the Connect.
    try {
        if (ServerList::remember(fileName, server, scratch))
            controls.setServerList(ServerList::load(fileName));
    } catch (const std::exception &) {
    }
}

// The steps after the login, one request each.
class Connecting {
public:
    Connecting(ConnectionView &controls, SharedConnection &dblocal, MonitoringCatalogue catalogue,
               TWindowContext context, QString server)
        : controls_(controls), dblocal_(dblocal), catalogue_(std::move(catalogue)), context_(context),
          server_(std::move(server))
    {
    }

    void login(const QString &connectionString) const
    {
        dblocal_.request<bool>(
            Kind::Connect, Deadline::Login,
            [connectionString](TConnection &connection, TQuery &query, bool &) {
                ServerSteps::login(connection, query, connectionString);
            },
            [step = *this](const ConnectionWorker::Reply<bool> &reply) {
                if (!reply.ok())
                    return step.fail(reply.error);
                step.context_.sbStatus.setPanelText(1, QStringLiteral("Connected to ") + step.server_);
                step.readProcessId();
            });
    }

private:
    void readProcessId() const
    {
        dblocal_.request<QString>(
            Kind::Connect, Deadline::Query,
            [](TConnection &, TQuery &query, QString &spid) { spid = ServerSteps::processId(query); },
            [step = *this](const ConnectionWorker::Reply<QString> &reply) {
                if (!reply.ok())
                    return step.fail(reply.error);
                step.context_.sbStatus.setPanelText(0, QStringLiteral("S: ") + reply.value + u'@' + step.server_);
                step.probeVersion();
            });
    }

    // Only ASE knows @@version_number; SQL Server refuses it.
    void probeVersion() const
    {
        dblocal_.request<bool>(
            Kind::Connect, Deadline::Query,
            [](TConnection &, TQuery &query, bool &sybase) {
                query.setStatement({QStringLiteral("select @@version_number VERS")});
                try {
                    query.execSQL();
                    sybase = true;
                } catch (const std::exception &) {
                    sybase = false;
                }
                query.close();
            },
            [step = *this](const ConnectionWorker::Reply<bool> &reply) {
                if (!reply.ok())
                    return step.fail(reply.error);
                step.context_.state.bSybase = reply.value;
                step.context_.sbStatus.setPanelText(3, reply.value ? QStringLiteral("SYBASE") : QString());
                MonitoringCatalogue catalogue = step.catalogue_;
                catalogue.emptyBoxes();
                rememberServer(step.controls_, step.server_, step.context_.state.vScratchList);
                catalogue.GetMonTables();
            });
    }

    void fail(const QString &error) const
    {
        context_.sbStatus.setPanelText(2, QStringLiteral("Sampling Stopped Due to Exception..."));
        context_.dialogs.showError(context_.owner, QStringLiteral("Exception in GetMonTables\n") + error);
    }

    ConnectionView &controls_;
    SharedConnection &dblocal_;
    MonitoringCatalogue catalogue_;
    TWindowContext context_;
    QString server_;
};

} // namespace

void ConnectToServer(const QString &connectionString, ConnectionView &controls, SharedConnection &dblocal,
                     MonitoringCatalogue catalogue, TWindowContext context)
{
    if (dblocal.pending(Kind::Connect))
        return;
    context.sbStatus.setPanelText(2, QString());
    context.state.bAbort = false;
    // A new login must not queue behind a call the driver may never return from.
    if (dblocal.worker().busy())
        dblocal.worker().startAfresh();
    Connecting(controls, dblocal, std::move(catalogue), context, controls.server().trimmed()).login(connectionString);
}
