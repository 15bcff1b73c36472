#include "TStringGridModel.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace {

// Gives back the reserve of a buffer that shrank to well under what it holds.
template <typename Buffer> void releaseSlack(Buffer &buffer)
{
    if (buffer.capacity() > 2 * buffer.size() + 1024)
        buffer.squeeze();
}

} // namespace

TStringGridModel::TStringGridModel(int colCount, int rowCount, QObject *parent)
    : QAbstractTableModel(parent), rows_(std::max(rowCount, 1)), shownRows_(rows_ - 1),
      columns_(std::max(colCount, 1))
{
    titles_.resize(columns_.size());
}

int TStringGridModel::gridRowCount() const
{
    return rows_;
}

int TStringGridModel::gridColCount() const
{
    return int(columns_.size());
}

void TStringGridModel::setGridRowCount(int rows)
{
    rows = std::max(rows, 1);
    if (rows >= rows_) {
        rows_ = rows;
        if (shownRows_ < rows_ - 1)
            schedulePublish();
        return;
    }
    const int keptCells = rows - 1;
    const bool viewsLoseRows = keptCells < shownRows_;
    if (viewsLoseRows)
        beginRemoveRows(QModelIndex(), keptCells, shownRows_ - 1);
    rows_ = rows;
    for (Column &column : columns_) {
        if (column.ends.size() <= keptCells)
            continue;
        column.text.truncate(keptCells == 0 ? 0 : column.ends[keptCells - 1]);
        column.ends.resize(keptCells);
        releaseSlack(column.text);
        releaseSlack(column.ends);
    }
    edited_.removeIf([rows](const auto &entry) { return int(entry.key() & 0xFFFFFFFF) >= rows; });
    if (viewsLoseRows) {
        shownRows_ = keptCells;
        endRemoveRows();
    }
}

void TStringGridModel::setGridColCount(int cols)
{
    cols = std::max(cols, 1);
    const int oldCols = gridColCount();
    if (cols == oldCols)
        return;
    if (cols < oldCols)
        beginRemoveColumns(QModelIndex(), cols, oldCols - 1);
    else
        beginInsertColumns(QModelIndex(), oldCols, cols - 1);
    columns_.resize(cols);
    titles_.resize(cols);
    if (cols < oldCols) {
        edited_.removeIf([cols](const auto &entry) { return int(entry.key() >> 32) >= cols; });
        endRemoveColumns();
    } else {
        endInsertColumns();
    }
}

quint64 TStringGridModel::editKey(int col, int row)
{
    return (quint64(quint32(col)) << 32) | quint32(row);
}

QString TStringGridModel::cell(int col, int row) const
{
    if (col < 0 || col >= gridColCount() || row < 0 || row >= rows_)
        return QString();
    if (row == 0)
        return titles_[col];
    if (!edited_.isEmpty()) {
        const auto edited = edited_.constFind(editKey(col, row));
        if (edited != edited_.constEnd())
            return *edited;
    }
    const Column &column = columns_[col];
    const qsizetype stored = row - 1;
    if (stored >= column.ends.size())
        return QString();
    const quint32 start = stored == 0 ? 0 : column.ends[stored - 1];
    return QString::fromUtf8(column.text.constData() + start, column.ends[stored] - start);
}

void TStringGridModel::setCell(int col, int row, const QString &text)
{
    if (col < 0 || col >= gridColCount() || row < 0 || row >= rows_)
        return;
    if (row == 0) {
        // Titles are rewritten at every sample; only a real change repaints the header.
        if (titles_[col] != text) {
            titles_[col] = text;
            emit headerDataChanged(Qt::Horizontal, col, col);
        }
        return;
    }
    storeCell(col, row, text);
    if (row <= shownRows_) {
        const QModelIndex changed = index(row - 1, col);
        emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
    }
}

void TStringGridModel::storeCell(int col, int row, const QString &text)
{
    Column &column = columns_[col];
    const qsizetype target = row - 1;
    const qsizetype stored = column.ends.size();
    if (target < stored - 1) {
        edited_.insert(editKey(col, row), text);
        return;
    }
    if (!edited_.isEmpty())
        edited_.remove(editKey(col, row));
    if (target == stored - 1) {
        column.text.truncate(target == 0 ? 0 : column.ends[target - 1]);
    } else {
        if (text.isEmpty())
            return; // rows not stored are empty already
        const quint32 end = stored == 0 ? 0 : column.ends.last();
        column.ends.insert(stored, target - stored + 1, end); // empty cells up to the target
    }
    const qsizetype start = column.text.size();
    const qsizetype needed = start + toUtf8_.requiredSpace(text.size());
    if (needed > std::numeric_limits<quint32>::max())
        throw std::length_error("grid column holds too much text");
    // Grow geometrically by hand: resizing alone would reallocate at every cell.
    if (needed > column.text.capacity())
        column.text.reserve(std::max(needed, 2 * column.text.capacity()));
    column.text.resize(needed);
    char *end = toUtf8_.appendToBuffer(column.text.data() + start, text);
    column.text.truncate(end - column.text.constData());
    column.ends[target] = quint32(column.text.size());
}

void TStringGridModel::clearCells()
{
    std::fill(titles_.begin(), titles_.end(), QString());
    for (Column &column : columns_)
        column = Column();
    edited_.clear();
    emit headerDataChanged(Qt::Horizontal, 0, gridColCount() - 1);
    if (shownRows_ > 0)
        emit dataChanged(index(0, 0), index(shownRows_ - 1, gridColCount() - 1));
}

bool TStringGridModel::isEditable() const
{
    return editable_;
}

void TStringGridModel::setEditable(bool editable)
{
    editable_ = editable;
}

qsizetype TStringGridModel::storageBytes() const
{
    qsizetype bytes = 0;
    for (const Column &column : columns_)
        bytes += column.text.capacity() + column.ends.capacity() * qsizetype(sizeof(quint32));
    for (const QString &title : titles_)
        bytes += title.capacity() * qsizetype(sizeof(QChar));
    for (const QString &edited : edited_)
        bytes += qsizetype(sizeof(quint64) + sizeof(QString)) + edited.capacity() * qsizetype(sizeof(QChar));
    return bytes;
}

void TStringGridModel::schedulePublish()
{
    if (publishScheduled_)
        return;
    publishScheduled_ = true;
    QMetaObject::invokeMethod(this, &TStringGridModel::publishRows, Qt::QueuedConnection);
}

void TStringGridModel::publishRows()
{
    publishScheduled_ = false;
    if (shownRows_ >= rows_ - 1)
        return;
    beginInsertRows(QModelIndex(), shownRows_, rows_ - 2);
    shownRows_ = rows_ - 1;
    endInsertRows();
}

int TStringGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : shownRows_;
}

int TStringGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : gridColCount();
}

QVariant TStringGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return cell(index.column(), index.row() + 1);
}

bool TStringGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!editable_ || !index.isValid() || role != Qt::EditRole)
        return false;
    setCell(index.column(), index.row() + 1, value.toString());
    return true;
}

QVariant TStringGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return titles_.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags TStringGridModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags itemFlags = QAbstractTableModel::flags(index);
    if (editable_ && index.isValid())
        itemFlags |= Qt::ItemIsEditable;
    return itemFlags;
}
