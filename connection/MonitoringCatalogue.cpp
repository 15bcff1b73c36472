#include "MonitoringCatalogue.h"

#include "ComboBoxList.h"
#include "TDialogs.h"
#include "TQuery.h"
#include "TStatusBar.h"
#include "TWindowState.h"

#include <QComboBox>
#include <QPlainTextEdit>

namespace {

const QString stoppedText = QStringLiteral("Sampling Stopped Due to Exception...");

// ASE quotes names in double quotation marks, SQL Server's catalogue takes single ones.
QString doubleQuoted(const QString &name)
{
    return u'"' + name + u'"';
}

QString singleQuoted(const QString &name)
{
    return u'\'' + name + u'\'';
}

} // namespace

MonitoringCatalogue::MonitoringCatalogue(TQuery &qryDynamic, const Controls &controls, TWindowContext context)
    : qryDynamic(qryDynamic), controls(controls), context(context)
{
}

bool MonitoringCatalogue::chosen(const QComboBox *box)
{
    return box->findText(box->currentText(), Qt::MatchFixedString) >= 0;
}

void MonitoringCatalogue::emptyBoxes()
{
    for (QComboBox *box : {controls.cbMonTable, controls.cbMonColumn}) {
        box->clear();
        box->clearEditText();
    }
}

void MonitoringCatalogue::open(const QStringList &statement)
{
    qryDynamic.close();
    qryDynamic.clear();
    qryDynamic.add(QStringLiteral("/**/"));
    for (const QString &line : statement)
        qryDynamic.add(line);
    qryDynamic.open();
}

void MonitoringCatalogue::fillList(QComboBox *box, const QString &column)
{
    QStringList names;
    // The list holds the rows read so far should a later one fail.
    try {
        while (!qryDynamic.eof()) {
            names.append(qryDynamic.fieldByName(column));
            qryDynamic.next();
        }
    } catch (...) {
        replaceComboBoxList(box, names);
        throw;
    }
    replaceComboBoxList(box, names);
    qryDynamic.close();
}

void MonitoringCatalogue::showFirstDescription(QPlainTextEdit *memo)
{
    memo->clear();
    if (!qryDynamic.eof())
        memo->setPlainText(qryDynamic.fieldByName(QStringLiteral("Description")));
    qryDynamic.close();
}

void MonitoringCatalogue::report(const QString &panelText, const QString &operation, const std::exception &error)
{
    context.sbStatus.setPanelText(2, panelText);
    context.dialogs.showError(context.owner, QStringLiteral("Exception in ") + operation + u'\n'
                                                 + QString::fromUtf8(error.what()));
}

void MonitoringCatalogue::GetMonTables()
{
    try {
        if (context.state.bSybase)
            open({QStringLiteral("select TableName, Indicators&1 \"Ind\", Description"),
                  QStringLiteral("from master..monTables"), QStringLiteral("order by 1")});
        else
            open({QStringLiteral("select TableName=name , Description=type_desc"), QStringLiteral("from sys.all_objects"),
                  QStringLiteral("where name like 'dm%'"), QStringLiteral("order by 1")});
        fillList(controls.cbMonTable, QStringLiteral("TableName"));
    } catch (const std::exception &error) {
        report(QStringLiteral("Exception in GetMonTables..."), QStringLiteral("GetMonTables"), error);
    }
}

void MonitoringCatalogue::cbMonTableChange()
{
    if (!chosen(controls.cbMonTable))
        return;
    const QString table = controls.cbMonTable->currentText();
    try {
        if (context.state.bSybase)
            open({QStringLiteral("select Description"), QStringLiteral("from master..monTables"),
                  QStringLiteral("where TableName = ") + doubleQuoted(table)});
        else
            open({QStringLiteral("select Description=type_desc"), QStringLiteral("from sys.all_objects"),
                  QStringLiteral("where name = ") + singleQuoted(table)});
        showFirstDescription(controls.meTableDesc);
    } catch (const std::exception &error) {
        report(stoppedText, QStringLiteral("cbMonTableChange"), error);
        return;
    }
    GetMonColumns();
}

void MonitoringCatalogue::GetMonColumns()
{
    if (!chosen(controls.cbMonTable))
        return;
    const QString table = controls.cbMonTable->currentText();
    try {
        if (context.state.bSybase)
            open({QStringLiteral("select ColumnName"), QStringLiteral("from master..monTableColumns"),
                  QStringLiteral("where TableName = ") + doubleQuoted(table), QStringLiteral("order by 1")});
        else
            open({QStringLiteral("select a.name as ColumnName"), QStringLiteral("from sys.all_columns a, sys.all_objects b"),
                  QStringLiteral("where a.object_id = b.object_id"), QStringLiteral("and b.name = ") + singleQuoted(table),
                  QStringLiteral("order by 1")});
        fillList(controls.cbMonColumn, QStringLiteral("ColumnName"));
    } catch (const std::exception &error) {
        report(stoppedText, QStringLiteral("GetMonTables"), error);
    }
}

void MonitoringCatalogue::cbMonColumnChange()
{
    if (!chosen(controls.cbMonTable) || !chosen(controls.cbMonColumn) || !context.state.bSybase)
        return;
    try {
        open({QStringLiteral("select Description"), QStringLiteral("from master..monTableColumns"),
              QStringLiteral("where TableName = ") + doubleQuoted(controls.cbMonTable->currentText()),
              QStringLiteral("and ColumnName = ") + doubleQuoted(controls.cbMonColumn->currentText())});
        showFirstDescription(controls.meColumnDesc);
    } catch (const std::exception &error) {
        report(stoppedText, QStringLiteral("cbMonTableChange"), error);
    }
}
