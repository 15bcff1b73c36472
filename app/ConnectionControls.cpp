#include "ConnectionControls.h"

#include "ComboBoxList.h"
#include "TRadioGroup.h"
#include "TStringGrid.h"
#include "TextTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>

ConnectionControls::ConnectionControls(const Widgets &widgets) : widgets_(widgets)
{
}

QComboBox *ConnectionControls::box(Box box) const
{
    return box == Box::Table ? widgets_.cbMonTable : widgets_.cbMonColumn;
}

QPlainTextEdit *ConnectionControls::description(Box box) const
{
    return box == Box::Table ? widgets_.meTableDesc : widgets_.meColumnDesc;
}

QString ConnectionControls::server() const
{
    return widgets_.edSRV->currentText();
}

void ConnectionControls::setServerList(const QStringList &servers)
{
    replaceComboBoxList(widgets_.edSRV, servers);
}

QString ConnectionControls::text(Box box) const
{
    return this->box(box)->currentText();
}

bool ConnectionControls::chosen(Box box) const
{
    const QComboBox *combo = this->box(box);
    return combo->findText(combo->currentText(), Qt::MatchFixedString) >= 0;
}

void ConnectionControls::setList(Box box, const QStringList &items)
{
    replaceComboBoxList(this->box(box), items);
}

void ConnectionControls::emptyBox(Box box)
{
    QComboBox *combo = this->box(box);
    combo->clear();
    combo->clearEditText();
}

void ConnectionControls::setDescription(Box box, const QString &description)
{
    this->description(box)->setPlainText(description);
}

bool ConnectionControls::customSql() const
{
    return widgets_.cbCustom->isChecked();
}

void ConnectionControls::tickCustomSql()
{
    widgets_.cbCustom->setChecked(true);
}

int ConnectionControls::aggregateIndex() const
{
    return widgets_.rgGRP->itemIndex();
}

QString ConnectionControls::sql() const
{
    return widgets_.reSQL->toPlainText();
}

void ConnectionControls::setSql(const QString &sql)
{
    widgets_.reSQL->setPlainText(sql);
}

void ConnectionControls::clearTestGrid()
{
    widgets_.sgTest->clearCells();
    widgets_.sgTest->setRowCount(2);
}

void ConnectionControls::setTestNames(const QStringList &names)
{
    TStringGrid *grid = widgets_.sgTest;
    grid->setColCount(int(names.size()));
    for (int col = 0; col < names.size(); ++col)
        grid->setCells(col, 0, names[col]);
}

void ConnectionControls::appendTestRows(const TextTable &rows)
{
    TStringGrid *grid = widgets_.sgTest;
    for (qsizetype row = 0; row < rows.rowCount(); ++row) {
        const int last = grid->rowCount() - 1;
        for (int col = 0; col < rows.columnCount(); ++col)
            grid->setCells(col, last, rows.cell(row, col));
        grid->setRowCount(last + 2);
        grid->setRow(last + 1);
    }
}
