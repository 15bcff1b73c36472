#include "CustomSqlControls.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>

CustomSqlControls::CustomSqlControls(const Widgets &widgets) : widgets_(widgets)
{
}

void CustomSqlControls::showPanel(int height)
{
    QWidget *panel = widgets_.paCustomSQL;
    panel->resize(panel->width(), height);
    panel->raise();
    panel->show();
}

QStringList CustomSqlControls::sqlLines() const
{
    // Block by block: the editor's plain text would turn no-break spaces into spaces.
    QStringList lines;
    const QTextDocument *document = widgets_.reLoadSQL->document();
    if (document->isEmpty())
        return lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

void CustomSqlControls::setSqlLines(const QStringList &lines)
{
    // In one go; appending the lines one by one would drop a leading empty line.
    widgets_.reLoadSQL->setPlainText(lines.join(QLatin1Char('\n')));
}

QString CustomSqlControls::fileName() const
{
    return widgets_.edFileName->text();
}

void CustomSqlControls::setFileName(const QString &fileName)
{
    widgets_.edFileName->setText(fileName);
}
