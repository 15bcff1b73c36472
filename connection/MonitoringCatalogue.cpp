#include "MonitoringCatalogue.h"

#include "SharedConnection.h"
#include "StatusPanels.h"
#include "TDialogs.h"
#include "TQuery.h"
#include "TWindowState.h"

namespace {

using Deadline = ConnectionWorker::Deadline;
using Kind = SharedConnection::Kind;

const QString stoppedText = QStringLiteral("Sampling Stopped Due to Exception...");

// A name comes from the server's own catalogue and may hold anything: inside the literal its
// quote character is doubled. ASE takes names in double quotation marks, SQL Server's
// catalogue single ones.
QString quoted(const QString &name, QChar quote)
{
    QString literal = name;
    literal.replace(quote, QString(2, quote));
    return quote + literal + quote;
}

QString doubleQuoted(const QString &name)
{
    return quoted(name, u'"');
}

QString singleQuoted(const QString &name)
{
    return quoted(name, u'\'');
}

void open(TQuery &query, const QStringList &statement)
{
    query.setStatement(statement);
    query.open();
}

// What a catalogue question got before it ended: whether the statement ran and what was read.
struct Rows {
    bool opened = false;
    QStringList values;
};

} // namespace

MonitoringCatalogue::MonitoringCatalogue(SharedConnection &dblocal, ConnectionView &controls, TWindowContext context)
    : dblocal_(dblocal), controls_(controls), context_(context)
{
}

void MonitoringCatalogue::emptyBoxes() const
{
    for (Box box : {Box::Table, Box::Column})
        controls_.emptyBox(box);
}

void MonitoringCatalogue::report(const QString &panelText, const QString &operation, const QString &error) const
{
    context_.sbStatus.setPanelText(2, panelText);
    context_.dialogs.showError(context_.owner, QStringLiteral("Exception in ") + operation + u'\n' + error);
}

void MonitoringCatalogue::fillList(const QStringList &statement, Box box, const QString &column,
                                   const QString &panelText, const QString &operation) const
{
    dblocal_.request<Rows>(
        box == Box::Table ? Kind::Tables : Kind::Table, Deadline::Query,
        [statement, column](TConnection &, TQuery &query, Rows &rows) {
            open(query, statement);
            rows.opened = true;
            while (!query.eof()) {
                rows.values.append(query.fieldByName(column));
                query.next();
            }
            query.close();
        },
        [self = *this, box, panelText, operation](const ConnectionWorker::Reply<Rows> &reply) {
            if (reply.value.opened)
                self.controls_.setList(box, reply.value.values);
            if (!reply.ok())
                self.report(panelText, operation, reply.error);
        });
}

void MonitoringCatalogue::showFirstDescription(const QStringList &statement, Box box, const QString &operation,
                                               void (MonitoringCatalogue::*next)() const) const
{
    dblocal_.request<Rows>(
        box == Box::Table ? Kind::Table : Kind::Column, Deadline::Query,
        [statement](TConnection &, TQuery &query, Rows &rows) {
            open(query, statement);
            rows.opened = true;
            if (!query.eof())
                rows.values.append(query.fieldByName(QStringLiteral("Description")));
            query.close();
        },
        [self = *this, box, operation, next](const ConnectionWorker::Reply<Rows> &reply) {
            // A statement that ran empties the description even without a row.
            if (reply.value.opened)
                self.controls_.setDescription(box, reply.value.values.value(0));
            if (!reply.ok())
                return self.report(stoppedText, operation, reply.error);
            if (next)
                (self.*next)();
        });
}

void MonitoringCatalogue::GetMonTables() const
{
    if (context_.state.bSybase)
        fillList({QStringLiteral("select TableName, Indicators&1 \"Ind\", Description"),
                  QStringLiteral("from master..monTables"), QStringLiteral("order by 1")},
                 Box::Table, QStringLiteral("TableName"), QStringLiteral("Exception in GetMonTables..."),
                 QStringLiteral("GetMonTables"));
    else
        fillList({QStringLiteral("select TableName=name , Description=type_desc"), QStringLiteral("from sys.all_objects"),
                  QStringLiteral("where name like 'dm%'"), QStringLiteral("order by 1")},
                 Box::Table, QStringLiteral("TableName"), QStringLiteral("Exception in GetMonTables..."),
                 QStringLiteral("GetMonTables"));
}

void MonitoringCatalogue::cbMonTableChange() const
{
    if (!controls_.chosen(Box::Table))
        return;
    const QString table = controls_.text(Box::Table);
    if (context_.state.bSybase)
        showFirstDescription({QStringLiteral("select Description"), QStringLiteral("from master..monTables"),
                              QStringLiteral("where TableName = ") + doubleQuoted(table)},
                             Box::Table, QStringLiteral("cbMonTableChange"),
                             &MonitoringCatalogue::GetMonColumns);
    else
        showFirstDescription({QStringLiteral("select Description=type_desc"), QStringLiteral("from sys.all_objects"),
                              QStringLiteral("where name = ") + singleQuoted(table)},
                             Box::Table, QStringLiteral("cbMonTableChange"),
                             &MonitoringCatalogue::GetMonColumns);
}

void MonitoringCatalogue::GetMonColumns() const
{
    if (!controls_.chosen(Box::Table))
        return;
    const QString table = controls_.text(Box::Table);
    if (context_.state.bSybase)
        fillList({QStringLiteral("select ColumnName"), QStringLiteral("from master..monTableColumns"),
                  QStringLiteral("where TableName = ") + doubleQuoted(table), QStringLiteral("order by 1")},
                 Box::Column, QStringLiteral("ColumnName"), stoppedText, QStringLiteral("GetMonTables"));
    else
        fillList({QStringLiteral("select a.name as ColumnName"), QStringLiteral("from sys.all_columns a, sys.all_objects b"),
                  QStringLiteral("where a.object_id = b.object_id"), QStringLiteral("and b.name = ") + singleQuoted(table),
                  QStringLiteral("order by 1")},
                 Box::Column, QStringLiteral("ColumnName"), stoppedText, QStringLiteral("GetMonTables"));
}

void MonitoringCatalogue::cbMonColumnChange() const
{
    if (!controls_.chosen(Box::Table) || !controls_.chosen(Box::Column) || !context_.state.bSybase)
        return;
    showFirstDescription({QStringLiteral("select Description"), QStringLiteral("from master..monTableColumns"),
                          QStringLiteral("where TableName = ") + doubleQuoted(controls_.text(Box::Table)),
                          QStringLiteral("and ColumnName = ") + doubleQuoted(controls_.text(Box::Column))},
                         Box::Column, QStringLiteral("cbMonTableChange"), nullptr);
}
