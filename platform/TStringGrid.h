#pragma once

#include "TStringGridModel.h"

#include <QTableView>

// A text grid: a fixed title row shown as the column headers, no title column, rows 20 pixels
// high and columns 64 pixels wide by default, and a current cell. Grid rows are counted with
// the title row as row 0, as in TStringGridModel.
class TStringGrid : public QTableView {
    Q_OBJECT
public:
    enum Option {
        RowSelect = 0x01,   // the current row is selected as a whole
        RangeSelect = 0x02, // ranges of cells (or rows) can be selected
        ColSizing = 0x04,   // the user resizes columns by dragging header borders
        ColMoving = 0x08,   // the user reorders columns by dragging headers
        Editing = 0x10,     // cells are edited in place
        GridLines = 0x20,   // lines between all cells
    };
    Q_DECLARE_FLAGS(Options, Option)

    static constexpr int defaultRowHeight = 20;
    static constexpr int defaultColWidth = 64;

    explicit TStringGrid(QWidget *parent = nullptr, int colCount = 5, int rowCount = 2);
    // Shows cells kept elsewhere; the model must outlive the grid.
    TStringGrid(TStringGridModel &model, QWidget *parent);

    Options options() const;
    void setOptions(Options options);

    TStringGridModel &gridModel();
    const TStringGridModel &gridModel() const;
    int rowCount() const;
    int colCount() const;
    void setRowCount(int rows);
    void setColCount(int cols);
    QString cells(int col, int row) const;
    void setCells(int col, int row, const QString &text);
    void clearCells();

    // The current cell; row is a grid row (1 for the first row under the titles).
    int row() const;
    int col() const;
    // Makes the grid row current in the current column, selects it and scrolls to it. Emits
    // selectCell first, as a click would. The current row and rows outside 1 to rowCount() - 1
    // are ignored.
    void setRow(int row);

    // Typing edits the current cell or does nothing; it never jumps to a matching cell.
    void keyboardSearch(const QString &search) override;

signals:
    // A cell (grid column and row) is becoming current, by a click, a key or setRow;
    // currentRow, like row() during the emission, is still the row being left.
    void selectCell(int col, int row, int currentRow);
    // A double click anywhere on the grid, the title row included.
    void dblClick();

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // The title row is drawn by the header, which takes its own mouse events.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Shows the current cell in the view once the view knows its row.
    void showCurrentCell(bool scroll);
    // Keeps the current cell inside the grid after a change of its size.
    void followModelSize();
    void onRowsPublished();

    TStringGridModel *model_;
    Options options_;
    int row_;
    int col_ = 0;
    bool scrollPending_ = false;
    bool syncingView_ = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TStringGrid::Options)
