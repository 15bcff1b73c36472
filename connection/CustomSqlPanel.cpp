#include "CustomSqlPanel.h"

#include "TDialogs.h"
#include "TStatusBar.h"
#include "TWindowState.h"
#include "TextFile.h"
#include "TextLineReader.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>

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

// The editor's lines as the file holds them: one per paragraph, none for an empty editor.
QStringList editorLines(const QPlainTextEdit &editor)
{
    QStringList lines;
    const QTextDocument *document = editor.document();
    if (document->isEmpty())
        return lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

} // namespace

namespace CustomSqlPanel {

void show(QWidget &paCustomSQL)
{
    paCustomSQL.resize(paCustomSQL.width(), shownHeight);
    paCustomSQL.raise();
    paCustomSQL.show();
}

void load(QPlainTextEdit &reLoadSQL, QLineEdit &edFileName, TWindowContext context)
{
    QString fileName = edFileName.text();
    if (fileName.isEmpty())
        fileName = context.dialogs.chooseOpenFile(context.owner);
    if (fileName.isEmpty())
        return;
    edFileName.setText(fileName);

    QStringList lines;
    bool emptied = false;
    // The editor gets the lines in one go; appending them one by one would drop a leading empty line.
    const auto showLines = [&] { reLoadSQL.setPlainText(lines.join(QLatin1Char('\n'))); };
    try {
        TextLineReader file(fileName);
        context.sbStatus.setPanelText(messagePanel, QStringLiteral("Loading Custom SQL Statements..."));
        reLoadSQL.clear();
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

void save(const QPlainTextEdit &reLoadSQL, const QLineEdit &edFileName, TWindowContext context)
{
    QString fileName = edFileName.text();
    if (fileName.isEmpty())
        fileName = context.dialogs.chooseSaveFile(context.owner);
    if (fileName.isEmpty())
        return;
    try {
        context.sbStatus.setPanelText(messagePanel, QStringLiteral("Saving Custom SQL Statements..."));
        TextFile::write(fileName, editorLines(reLoadSQL), TextEncoding::System);
        context.sbStatus.setPanelText(messagePanel, QStringLiteral("Saved Custom SQL Statements to ") + fileName);
    } catch (const std::exception &error) {
        report(context, error);
    }
}

} // namespace CustomSqlPanel
