#include "SampleQuery.h"

#include "MonitoringCatalogue.h"
#include "TConnection.h"
#include "TQuery.h"
#include "TStatusBar.h"
#include "TStringGrid.h"
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

void showResult(TQuery &query, const QString &statement, TStringGrid *grid, QStringList &names)
{
    grid->clearCells();
    grid->setRowCount(2);
    query.close();
    query.clear();
    query.add(QStringLiteral("/**/"));
    query.add(statement);
    query.open();

    names.clear();
    query.getFieldNames(names);
    grid->setColCount(int(names.size()));
    for (int col = 0; col < names.size(); ++col)
        grid->setCells(col, 0, names[col]);
    while (!query.eof()) {
        const int last = grid->rowCount() - 1;
        for (int col = 0; col < names.size(); ++col)
            grid->setCells(col, last, query.fieldByName(names[col]));
        grid->setRowCount(last + 2);
        grid->setRow(last + 1);
        query.next();
    }
    names.clear();
    query.close();
}

} // namespace

QString ComposeSampleQuery(int aggregateIndex, const QString &column, const QString &table, const QString &filter)
{
    return QStringLiteral("select ") + selectExpression(aggregateIndex, column.trimmed())
           + QStringLiteral(" from master..") + table.trimmed() + u' ' + filter;
}

void TestSampleQuery(const SampleQueryControls &controls, TConnection &dblocal, TQuery &qryDynamic,
                     TWindowContext context)
{
    if (!dblocal.connected())
        return;
    context.state.bAbort = false;
    context.sbStatus.setPanelText(2, QString());
    try {
        if (!controls.cbCustom->isChecked() && MonitoringCatalogue::chosen(controls.cbMonTable)
            && MonitoringCatalogue::chosen(controls.cbMonColumn)) {
            controls.reSQL->setPlainText(ComposeSampleQuery(controls.aggregateIndex, controls.cbMonColumn->currentText(),
                                                            controls.cbMonTable->currentText(),
                                                            controls.reSQL->toPlainText()));
            controls.cbCustom->setChecked(true);
        }
        showResult(qryDynamic, controls.reSQL->toPlainText(), controls.sgTest, context.state.vScratchList);
    } catch (const std::exception &error) {
        context.sbStatus.setPanelText(2, QStringLiteral("Exception in Test SQL...") + QString::fromUtf8(error.what()));
    }
}
