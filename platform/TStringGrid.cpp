#include "TStringGrid.h"

#include <QEvent>
#include <QHeaderView>
#include <QScopedValueRollback>
#include <algorithm>

TStringGrid::TStringGrid(QWidget *parent, int colCount, int rowCount)
    : TStringGrid(*new TStringGridModel(colCount, rowCount), parent)
{
    model_->setParent(this);
}

TStringGrid::TStringGrid(TStringGridModel &model, QWidget *parent)
    : QTableView(parent), model_(&model), row_(model.gridRowCount() > 1 ? 1 : 0)
{
    setModel(model_);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &TStringGrid::onRowsPublished);
    // The cells may be resized by their owner without the grid: keep the current cell inside.
    for (auto resized : {&QAbstractItemModel::rowsRemoved, &QAbstractItemModel::columnsRemoved,
                         &QAbstractItemModel::columnsInserted})
        connect(model_, resized, this, [this] {
            if (!syncingView_)
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
    titles->viewport()->installEventFilter(this);

    setWordWrap(false);
    setCornerButtonEnabled(false);
    // Tab leaves the grid for the next control; the arrow keys move between cells.
    setTabKeyNavigation(false);
    setOptions(RangeSelect | GridLines);
    showCurrentCell(false);
}

TStringGrid::Options TStringGrid::options() const
{
    return options_;
}

void TStringGrid::setOptions(Options options)
{
    options_ = options;
    setSelectionBehavior(options & RowSelect ? SelectRows : SelectItems);
    setSelectionMode(options & RangeSelect ? ExtendedSelection : SingleSelection);
    horizontalHeader()->setSectionResizeMode(options & ColSizing ? QHeaderView::Interactive
                                                                 : QHeaderView::Fixed);
    horizontalHeader()->setSectionsMovable(options & ColMoving);
    model_->setEditable(options & Editing);
    // A double click belongs to the grid's owner, so it does not start editing.
    setEditTriggers(options & Editing ? EditKeyPressed | AnyKeyPressed | SelectedClicked
                                      : NoEditTriggers);
    setShowGrid(options & GridLines);
}

TStringGridModel &TStringGrid::gridModel()
{
    return *model_;
}

const TStringGridModel &TStringGrid::gridModel() const
{
    return *model_;
}

int TStringGrid::rowCount() const
{
    return model_->gridRowCount();
}

int TStringGrid::colCount() const
{
    return model_->gridColCount();
}

void TStringGrid::setRowCount(int rows)
{
    {
        const QScopedValueRollback syncing(syncingView_, true);
        model_->setGridRowCount(rows);
    }
    followModelSize();
}

void TStringGrid::setColCount(int cols)
{
    {
        const QScopedValueRollback syncing(syncingView_, true);
        model_->setGridColCount(cols);
    }
    followModelSize();
}

void TStringGrid::followModelSize()
{
    row_ = std::clamp(row_, rowCount() > 1 ? 1 : 0, rowCount() - 1);
    col_ = std::min(col_, colCount() - 1);
    showCurrentCell(false);
}

QString TStringGrid::cells(int col, int row) const
{
    return model_->cell(col, row);
}

void TStringGrid::setCells(int col, int row, const QString &text)
{
    model_->setCell(col, row, text);
}

void TStringGrid::clearCells()
{
    model_->clearCells();
}

int TStringGrid::row() const
{
    return row_;
}

int TStringGrid::col() const
{
    return col_;
}

void TStringGrid::setRow(int row)
{
    if (row < 1 || row >= rowCount() || row == row_)
        return;
    emit selectCell(col_, row, row_);
    row_ = row;
    showCurrentCell(true);
}

void TStringGrid::showCurrentCell(bool scroll)
{
    scrollPending_ = scrollPending_ || scroll;
    if (row_ < 1) {
        scrollPending_ = false;
        return;
    }
    if (row_ > model_->rowCount())
        return; // the row reaches the view with the next batch of rows
    const QModelIndex current = model_->index(row_ - 1, col_);
    if (currentIndex() != current) {
        const QScopedValueRollback syncing(syncingView_, true);
        setCurrentIndex(current);
    }
    if (scrollPending_) {
        scrollPending_ = false;
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
    if (syncingView_ || !current.isValid())
        return;
    const int row = current.row() + 1;
    const int col = current.column();
    if (row == row_ && col == col_)
        return;
    emit selectCell(col, row, row_);
    row_ = row;
    col_ = col;
}

void TStringGrid::keyboardSearch(const QString &)
{
}

bool TStringGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == horizontalHeader()->viewport() && event->type() == QEvent::MouseButtonDblClick)
        emit dblClick();
    return QTableView::eventFilter(watched, event);
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    emit dblClick();
}
