#include "SampleQuery.h"

#include "MonitoringCatalogue.h"
#include "SharedConnection.h"
#include "StatusPanels.h"
#include "TQuery.h"
#include "TStringGrid.h"
#include "TextTable.h"
#include "TWindowState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>

namespace {

QString selectExpression(int aggregateIndex, const QString &column)
{
    switch (aggregateIndex) {
    case 1:
        return column + QStringLiteral("=avg(") + column + u')';
    case 2:
        return column + QStringLiteral("=max(") + column + u')';
    case 3:
        return column + QStringLiteral("=min(") + column + u')';
    case 4:
        return column + QStringLiteral("=count(*)");
    case 5:
        return column + QStringLiteral("=sum(") + column + u')';
    default:
        return column;
    }
}

// A result as Test shows it, and whether the statement ran at all.
struct TestResult {
    bool opened = false;
    TextTable rows;
};

void readResult(TQuery &query, const QString &statement, TestResult &result)
{
    query.close();
    query.clear();
    query.add(QStringLiteral("/**/"));
    query.add(statement);
    query.open();
    result.opened = true;
    QStringList names;
    query.getFieldNames(names);
    result.rows = TextTable(names);
    while (!query.eof()) {
        for (const QString &name : std::as_const(names))
            result.rows.append(query.fieldByName(name));
        query.next();
    }
    query.close();
}

// The rows read before a failure stay in the grid.
void showResult(const TextTable &result, TStringGrid *grid, QStringList &names)
{
    names = result.names();
    grid->setColCount(int(names.size()));
    for (int col = 0; col < names.size(); ++col)
        grid->setCells(col, 0, names[col]);
    for (qsizetype row = 0; row < result.rowCount(); ++row) {
        const int last = grid->rowCount() - 1;
        for (int col = 0; col < result.columnCount(); ++col)
            grid->setCells(col, last, result.cell(row, col));
        grid->setRowCount(last + 2);
        grid->setRow(last + 1);
    }
    names.clear();
}

} // namespace

QString ComposeSampleQuery(int aggregateIndex, const QString &column, const QString &table, const QString &filter)
{
    return QStringLiteral("select ") + selectExpression(aggregateIndex, column.trimmed())
           + QStringLiteral(" from master..") + table.trimmed() + u' ' + filter;
}

void TestSampleQuery(const SampleQueryControls &controls, SharedConnection &dblocal, TWindowContext context)
{
    // A link lost since Connect is no reason to do nothing: the statement logs in again.
    if ((!dblocal.connected() && !dblocal.worker().lostLink()) || dblocal.pending(SharedConnection::Kind::Test))
        return;
    context.state.bAbort = false;
    context.sbStatus.setPanelText(2, QString());
    if (!controls.cbCustom->isChecked() && MonitoringCatalogue::chosen(controls.cbMonTable)
        && MonitoringCatalogue::chosen(controls.cbMonColumn)) {
        controls.reSQL->setPlainText(ComposeSampleQuery(controls.aggregateIndex, controls.cbMonColumn->currentText(),
                                                        controls.cbMonTable->currentText(),
                                                        controls.reSQL->toPlainText()));
        controls.cbCustom->setChecked(true);
    }
    controls.sgTest->clearCells();
    controls.sgTest->setRowCount(2);
    const QString statement = controls.reSQL->toPlainText();
    TStringGrid *grid = controls.sgTest;
    dblocal.request<TestResult>(
        SharedConnection::Kind::Test, ConnectionWorker::Deadline::Query,
        [statement](TConnection &, TQuery &query, TestResult &result) { readResult(query, statement, result); },
        [grid, context](const ConnectionWorker::Reply<TestResult> &reply) {
            if (reply.value.opened)
                showResult(reply.value.rows, grid, context.state.vScratchList);
            if (!reply.ok())
                context.sbStatus.setPanelText(2, QStringLiteral("Exception in Test SQL...") + reply.error);
        });
}
