#include "SampleQuery.h"

#include "ConnectionView.h"
#include "SharedConnection.h"
#include "StatusPanels.h"
#include "TQuery.h"
#include "TextTable.h"
#include "TWindowState.h"

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
    query.setStatement({statement});
    query.open();
    result.opened = true;
    query.readRows(result.rows);
    query.close();
}

// The rows read before a failure stay in the grid.
void showResult(const TextTable &result, ConnectionView &controls, QStringList &names)
{
    names = result.names();
    controls.setTestNames(names);
    controls.appendTestRows(result);
    names.clear();
}

} // namespace

QString ComposeSampleQuery(int aggregateIndex, const QString &column, const QString &table, const QString &filter)
{
    return QStringLiteral("select ") + selectExpression(aggregateIndex, column.trimmed())
           + QStringLiteral(" from master..") + table.trimmed() + u' ' + filter;
}

void TestSampleQuery(ConnectionView &controls, SharedConnection &dblocal, TWindowContext context)
{
    // A link lost since Connect is no reason to do nothing: the statement logs in again.
    if ((!dblocal.connected() && !dblocal.worker().lostLink()) || dblocal.pending(SharedConnection::Kind::Test))
        return;
    context.state.bAbort = false;
    context.sbStatus.setPanelText(2, QString());
    using Box = ConnectionView::Box;
    if (!controls.customSql() && controls.chosen(Box::Table) && controls.chosen(Box::Column)) {
        controls.setSql(ComposeSampleQuery(controls.aggregateIndex(), controls.text(Box::Column),
                                           controls.text(Box::Table), controls.sql()));
        controls.tickCustomSql();
    }
    controls.clearTestGrid();
    const QString statement = controls.sql();
    dblocal.request<TestResult>(
        SharedConnection::Kind::Test, ConnectionWorker::Deadline::Query,
        [statement](TConnection &, TQuery &query, TestResult &result) { readResult(query, statement, result); },
        [&controls, context](const ConnectionWorker::Reply<TestResult> &reply) {
            if (reply.value.opened)
                showResult(reply.value.rows, controls, context.state.vScratchList);
            if (!reply.ok())
                context.sbStatus.setPanelText(2, QStringLiteral("Exception in Test SQL...") + reply.error);
        });
}
