#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QStringEncoder>
#include <QStringList>
#include <vector>

// The cells of a text grid with one fixed title row. Grid rows are counted with the title row as
// row 0; a view shows row 0 as its column headers and grid rows 1 to gridRowCount() - 1 as its
// rows 0, 1, ... Text is held column by column, as UTF-8 in one buffer per column with an end
// offset per row, so a million rows cost little more than their characters and appending is cheap.
// Rows added to the grid reach attached views in one batch when control returns to the event
// loop (or at publishRows()), so filling many rows does not re-lay-out a view once per row.
class TStringGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TStringGridModel(int colCount = 5, int rowCount = 2, QObject *parent = nullptr);

    int gridRowCount() const;
    int gridColCount() const;
    // At least one row (the title row) and one column; cells beyond a smaller size are dropped.
    void setGridRowCount(int rows);
    void setGridColCount(int cols);

    // Cells outside the grid read as empty and ignore writes.
    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString &text);
    // Empties every cell, the title row included; the size stays.
    void clearCells();

    bool isEditable() const;
    void setEditable(bool editable);

    // Heap bytes reserved for the cells' text and offsets.
    qsizetype storageBytes() const;

    // Tells views about rows added since the last announcement.
    void publishRows();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    struct Column {
        QByteArray text;     // the cells of rows 1, 2, ... back to back, in UTF-8
        QList<quint32> ends; // ends[i]: where the cell of row i + 1 ends in text
    };

    static quint64 editKey(int col, int row);
    void storeCell(int col, int row, const QString &text);
    void schedulePublish();

    int rows_;
    int shownRows_; // grid rows 1 to shownRows_ are known to views
    bool publishScheduled_ = false;
    bool editable_ = false;
    QStringEncoder toUtf8_{QStringConverter::Utf8, QStringConverter::Flag::Stateless};
    QStringList titles_;
    std::vector<Column> columns_;
    // Cells changed above a column's last stored row, whose text cannot grow in place.
    QHash<quint64, QString> edited_;
};
