#include "RunControl.h"

#include "SlotChart.h"
#include "TChartSlot.h"
#include "TStatusBar.h"
#include "TWindowContext.h"
#include "TWindowState.h"
#include "TextTrim.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>

namespace {

void openConnection(TChartSlot &slot, const QString &connectionString, const QString &serverName)
{
    slot.dbLocal.close();
    // TConnection never prompts for a login, so there is no prompt to switch off.
    slot.dbLocal.setConnectionString(connectionString);
    slot.dbLocal.open();
    slot.sbStatus->setPanelText(1, QStringLiteral("Connected to ") + serverName);

    TQuery &query = slot.qryDynamic;
    query.close();
    query.clear();
    query.add(QStringLiteral("/**/"));
    query.add(QStringLiteral("select @@spid SPID"));
    query.open();
    slot.sbStatus->setPanelText(0, QStringLiteral("S: ") + query.fieldByName(QStringLiteral("SPID")) + u'@'
                                       + serverName);
    query.close();
}

} // namespace

namespace RunControl {

void run(TChartSlot &slot, TWindowContext context, const QPlainTextEdit &reSQL, const QString &connectionString,
         const QString &serverName)
{
    context.sbStatus.setPanelText(2, QString());
    context.state.bAbort = false;
    try {
        if (trimBlanksAndControls(slot.vSQL).isEmpty())
            slot.vSQL = reSQL.toPlainText();
        if (trimBlanksAndControls(slot.vSQL).isEmpty())
            return;
        if (!slot.cbSameConn->isChecked() || !slot.dbLocal.connected())
            openConnection(slot, connectionString, trimBlanksAndControls(serverName));
        SlotChart::applyMarks(slot);
        slot.cbStyle->setEnabled(false);
        if (!slot.tmSample.isActive())
            slot.tmSample.start();
    } catch (const std::exception &error) {
        slot.tmSample.stop();
        slot.sbStatus->setPanelText(1, QStringLiteral("Brrr... ") + QString::fromStdString(error.what()));
    }
}

void stop(TChartSlot &slot)
{
    slot.tmSample.stop();
    slot.cbStyle->setEnabled(true);
}

void showSQL(const TChartSlot &slot, QPlainTextEdit &reSQL)
{
    reSQL.setPlainText(slot.vSQL);
}

void updateSQL(TChartSlot &slot, const QPlainTextEdit &reSQL)
{
    slot.vSQL = reSQL.toPlainText();
}

} // namespace RunControl
