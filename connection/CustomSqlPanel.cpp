#include "CustomSqlPanel.h"

#include "CustomSqlView.h"
#include "StatusPanels.h"
#include "TDialogs.h"
#include "TWindowState.h"
#include "TextFile.h"
#include "TextLineReader.h"

namespace {

constexpr int messagePanel = 2;
constexpr int shownHeight = 431;

void report(TWindowContext context, const std::exception &error)
{
    context.sbStatus.setPanelText(messagePanel, QStringLiteral("Sampling Stopped Due to Exception..."));
    // Load and Save report under the same name.
    context.dialogs.showError(context.owner,
                              QStringLiteral("Exception in bbtSaveSQLClick\n") + QString::fromUtf8(error.what()));
}

} // namespace

namespace CustomSqlPanel {

void show(CustomSqlView &panel)
{
    panel.showPanel(shownHeight);
}

void load(CustomSqlView &panel, TWindowContext context)
{
    QString fileName = panel.fileName();
    if (fileName.isEmpty())
        fileName = context.dialogs.chooseOpenFile(context.owner);
    if (fileName.isEmpty())
        return;
    panel.setFileName(fileName);

    QStringList lines;
    bool emptied = false;
    const auto showLines = [&] { panel.setSqlLines(lines); };
    try {
        TextLineReader file(fileName);
        context.sbStatus.setPanelText(messagePanel, QStringLiteral("Loading Custom SQL Statements..."));
        panel.setSqlLines({});
        emptied = true;
        QString line;
        while (file.readLine(line)) {
            // Left over from an Escape pressed before: this action does not reset it.
            if (context.state.bAbort) {
                showLines();
                context.sbStatus.setPanelText(messagePanel, QStringLiteral("Loading File Aborted..."));
                return;
            }
            lines << line;
        }
        showLines();
        context.sbStatus.setPanelText(messagePanel, QStringLiteral("Loaded Custom SQL Statements to ") + fileName);
    } catch (const std::exception &error) {
        if (emptied)
            showLines();
        report(context, error);
    }
}

void save(const CustomSqlView &panel, TWindowContext context)
{
    QString fileName = panel.fileName();
    if (fileName.isEmpty())
        fileName = context.dialogs.chooseSaveFile(context.owner);
    if (fileName.isEmpty())
        return;
    try {
        context.sbStatus.setPanelText(messagePanel, QStringLiteral("Saving Custom SQL Statements..."));
        TextFile::write(fileName, panel.sqlLines(), TextEncoding::System);
        context.sbStatus.setPanelText(messagePanel, QStringLiteral("Saved Custom SQL Statements to ") + fileName);
    } catch (const std::exception &error) {
        report(context, error);
    }
}

} // namespace CustomSqlPanel
