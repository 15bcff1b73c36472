#include "ConnectToServer.h"

#include "AppPaths.h"
#include "ComboBoxList.h"
#include "MonitoringCatalogue.h"
#include "ServerList.h"
#include "TConnection.h"
#include "TDialogs.h"
#include "TQuery.h"
#include "TStatusBar.h"
#include "TWindowState.h"

#include <QComboBox>

namespace {

void prepare(TQuery &query, const QString &statement)
{
    query.close();
    query.clear();
    query.add(QStringLiteral("/**/"));
    query.add(statement);
}

// Only ASE knows @@version_number; SQL Server refuses it.
bool acceptsVersionProbe(TQuery &query)
{
    prepare(query, QStringLiteral("select @@version_number VERS"));
    try {
        query.execSQL();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

void rememberServer(QComboBox *edSRV, const QString &server, QStringList &scratch)
{
    const QString fileName = AppPaths::serverListFile();
    // The list is a convenience: a locked or read-only file must not stop the Connect.
    try {
        if (ServerList::remember(fileName, server, scratch))
            replaceComboBoxList(edSRV, ServerList::load(fileName));
    } catch (const std::exception &) {
    }
}

} // namespace

void ConnectToServer(const QString &connectionString, QComboBox *edSRV, TConnection &dblocal, TQuery &qryDynamic,
                     MonitoringCatalogue &catalogue, TWindowContext context)
{
    TStatusBar &status = context.sbStatus;
    status.setPanelText(2, QString());
    context.state.bAbort = false;
    const QString server = edSRV->currentText().trimmed();
    try {
        dblocal.close();
        dblocal.setConnectionString(connectionString);
        dblocal.open();
        status.setPanelText(1, QStringLiteral("Connected to ") + server);

        prepare(qryDynamic, QStringLiteral("select @@spid SPID"));
        qryDynamic.open();
        status.setPanelText(0, QStringLiteral("S: ") + qryDynamic.fieldByName(QStringLiteral("SPID")) + u'@' + server);
        qryDynamic.close();

        context.state.bSybase = acceptsVersionProbe(qryDynamic);
        status.setPanelText(3, context.state.bSybase ? QStringLiteral("SYBASE") : QString());
        qryDynamic.close();

        catalogue.emptyBoxes();
    } catch (const std::exception &error) {
        status.setPanelText(2, QStringLiteral("Sampling Stopped Due to Exception..."));
        context.dialogs.showError(context.owner,
                                  QStringLiteral("Exception in GetMonTables\n") + QString::fromUtf8(error.what()));
        return;
    }
    rememberServer(edSRV, server, context.state.vScratchList);
    catalogue.GetMonTables();
}
