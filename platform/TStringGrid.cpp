#include "TStringGrid.h"

#include <QHeaderView>
#include <QScopedValueRollback>
#include <algorithm>

TStringGrid::TStringGrid(QWidget *parent, int colCount, int rowCount)
    : TStringGrid(*new TStringGridModel(colCount, rowCount), parent)
{
    m_model->setParent(this);
}

TStringGrid::TStringGrid(TStringGridModel &model, QWidget *parent)
    : QTableView(parent), m_model(&model), m_row(model.gridRowCount() > 1 ? 1 : 0)
{
    setModel(m_model);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &TStringGrid::onRowsPublished);
    // The cells may be resized by their owner without the grid: keep the current cell inside.
    for (auto resized : {&QAbstractItemModel::rowsRemoved, &QAbstractItemModel::columnsRemoved,
                         &QAbstractItemModel::columnsInserted})
        connect(m_model, resized, this, [this] {
            if (!m_syncingView)
                followModelSize();
        });

    // Every row has the same fixed height, so the view never asks a row for its size.
    QHeaderView *rows = verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(defaultRowHeight);

    // The title row is a grid row: as high as the others and not a selection handle.
    QHeaderView *titles = horizontalHeader();
    titles->setMinimumSectionSize(1);
    titles->setDefaultSectionSize(defaultColWidth);
    titles->setFixedHeight(defaultRowHeight);
    titles->setSectionsClickable(false);
    titles->setHighlightSections(false);
    titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    setWordWrap(false);
    setCornerButtonEnabled(false);
    setOptions(RangeSelect | GridLines);
    showCurrentCell(false);
}

TStringGrid::Options TStringGrid::options() const
{
    return m_options;
}

void TStringGrid::setOptions(Options options)
{
    m_options = options;
    setSelectionBehavior(options & RowSelect ? SelectRows : SelectItems);
    setSelectionMode(options & RangeSelect ? ExtendedSelection : SingleSelection);
    horizontalHeader()->setSectionResizeMode(options & ColSizing ? QHeaderView::Interactive
                                                                 : QHeaderView::Fixed);
    horizontalHeader()->setSectionsMovable(options & ColMoving);
    m_model->setEditable(options & Editing);
    // A double click belongs to the grid's owner, so it does not start editing.
    setEditTriggers(options & Editing ? EditKeyPressed | AnyKeyPressed | SelectedClicked
                                      : NoEditTriggers);
    setShowGrid(options & GridLines);
}

TStringGridModel &TStringGrid::gridModel()
{
    return *m_model;
}

const TStringGridModel &TStringGrid::gridModel() const
{
    return *m_model;
}

int TStringGrid::rowCount() const
{
    return m_model->gridRowCount();
}

int TStringGrid::colCount() const
{
    return m_model->gridColCount();
}

void TStringGrid::setRowCount(int rows)
{
    {
        const QScopedValueRollback syncing(m_syncingView, true);
        m_model->setGridRowCount(rows);
    }
    followModelSize();
}

void TStringGrid::setColCount(int cols)
{
    {
        const QScopedValueRollback syncing(m_syncingView, true);
        m_model->setGridColCount(cols);
    }
    followModelSize();
}

void TStringGrid::followModelSize()
{
    m_row = std::clamp(m_row, rowCount() > 1 ? 1 : 0, rowCount() - 1);
    m_col = std::min(m_col, colCount() - 1);
    showCurrentCell(false);
}

QString TStringGrid::cells(int col, int row) const
{
    return m_model->cell(col, row);
}

void TStringGrid::setCells(int col, int row, const QString &text)
{
    m_model->setCell(col, row, text);
}

void TStringGrid::clearCells()
{
    m_model->clearCells();
}

int TStringGrid::row() const
{
    return m_row;
}

int TStringGrid::col() const
{
    return m_col;
}

void TStringGrid::setRow(int row)
{
    if (row < 1 || row >= rowCount() || row == m_row)
        return;
    emit selectCell(m_col, row, m_row);
    m_row = row;
    showCurrentCell(true);
}

void TStringGrid::showCurrentCell(bool scroll)
{
    m_scrollPending = m_scrollPending || scroll;
    if (m_row < 1) {
        m_scrollPending = false;
        return;
    }
    if (m_row > m_model->rowCount())
        return; // the row reaches the view with the next batch of rows
    const QModelIndex current = m_model->index(m_row - 1, m_col);
    if (currentIndex() != current) {
        const QScopedValueRollback syncing(m_syncingView, true);
        setCurrentIndex(current);
    }
    if (m_scrollPending) {
        m_scrollPending = false;
        scrollTo(current);
    }
}

void TStringGrid::onRowsPublished()
{
    showCurrentCell(false);
}

void TStringGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_syncingView || !current.isValid())
        return;
    const int row = current.row() + 1;
    const int col = current.column();
    if (row == m_row && col == m_col)
        return;
    emit selectCell(col, row, m_row);
    m_row = row;
    m_col = col;
}

void TStringGrid::keyboardSearch(const QString &)
{
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    emit dblClick();
}
