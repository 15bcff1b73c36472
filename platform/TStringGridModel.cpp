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
    : QAbstractTableModel(parent), m_rows(std::max(rowCount, 1)), m_shownRows(m_rows - 1),
      m_columns(std::max(colCount, 1))
{
    m_titles.resize(m_columns.size());
}

int TStringGridModel::gridRowCount() const
{
    return m_rows;
}

int TStringGridModel::gridColCount() const
{
    return int(m_columns.size());
}

void TStringGridModel::setGridRowCount(int rows)
{
    rows = std::max(rows, 1);
    if (rows >= m_rows) {
        m_rows = rows;
        if (m_shownRows < m_rows - 1)
            schedulePublish();
        return;
    }
    const int keptCells = rows - 1;
    const bool viewsLoseRows = keptCells < m_shownRows;
    if (viewsLoseRows)
        beginRemoveRows(QModelIndex(), keptCells, m_shownRows - 1);
    m_rows = rows;
    for (Column &column : m_columns) {
        if (column.ends.size() <= keptCells)
            continue;
        column.text.truncate(keptCells == 0 ? 0 : column.ends[keptCells - 1]);
        column.ends.resize(keptCells);
        releaseSlack(column.text);
        releaseSlack(column.ends);
    }
    m_edited.removeIf([rows](const auto &entry) { return int(entry.key() & 0xFFFFFFFF) >= rows; });
    if (viewsLoseRows) {
        m_shownRows = keptCells;
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
    m_columns.resize(cols);
    m_titles.resize(cols);
    if (cols < oldCols) {
        m_edited.removeIf([cols](const auto &entry) { return int(entry.key() >> 32) >= cols; });
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
    if (col < 0 || col >= gridColCount() || row < 0 || row >= m_rows)
        return QString();
    if (row == 0)
        return m_titles[col];
    if (!m_edited.isEmpty()) {
        const auto edited = m_edited.constFind(editKey(col, row));
        if (edited != m_edited.constEnd())
            return *edited;
    }
    const Column &column = m_columns[col];
    const qsizetype stored = row - 1;
    if (stored >= column.ends.size())
        return QString();
    const quint32 start = stored == 0 ? 0 : column.ends[stored - 1];
    return QString::fromUtf8(column.text.constData() + start, column.ends[stored] - start);
}

void TStringGridModel::setCell(int col, int row, const QString &text)
{
    if (col < 0 || col >= gridColCount() || row < 0 || row >= m_rows)
        return;
    if (row == 0) {
        // Titles are rewritten at every sample; only a real change repaints the header.
        if (m_titles[col] != text) {
            m_titles[col] = text;
            emit headerDataChanged(Qt::Horizontal, col, col);
        }
        return;
    }
    storeCell(col, row, text);
    if (row <= m_shownRows) {
        const QModelIndex changed = index(row - 1, col);
        emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
    }
}

void TStringGridModel::storeCell(int col, int row, const QString &text)
{
    Column &column = m_columns[col];
    const qsizetype target = row - 1;
    const qsizetype stored = column.ends.size();
    if (target < stored - 1) {
        m_edited.insert(editKey(col, row), text);
        return;
    }
    if (!m_edited.isEmpty())
        m_edited.remove(editKey(col, row));
    if (target == stored - 1) {
        column.text.truncate(target == 0 ? 0 : column.ends[target - 1]);
    } else {
        if (text.isEmpty())
            return; // rows not stored are empty already
        const quint32 end = stored == 0 ? 0 : column.ends.last();
        column.ends.insert(stored, target - stored + 1, end); // empty cells up to the target
    }
    const qsizetype start = column.text.size();
    const qsizetype needed = start + m_toUtf8.requiredSpace(text.size());
    if (needed > std::numeric_limits<quint32>::max())
        throw std::length_error("grid column holds too much text");
    // Grow geometrically by hand: resizing alone would reallocate at every cell.
    if (needed > column.text.capacity())
        column.text.reserve(std::max(needed, 2 * column.text.capacity()));
    column.text.resize(needed);
    char *end = m_toUtf8.appendToBuffer(column.text.data() + start, text);
    column.text.truncate(end - column.text.constData());
    column.ends[target] = quint32(column.text.size());
}

void TStringGridModel::clearCells()
{
    std::fill(m_titles.begin(), m_titles.end(), QString());
    for (Column &column : m_columns)
        column = Column();
    m_edited.clear();
    emit headerDataChanged(Qt::Horizontal, 0, gridColCount() - 1);
    if (m_shownRows > 0)
        emit dataChanged(index(0, 0), index(m_shownRows - 1, gridColCount() - 1));
}

bool TStringGridModel::isEditable() const
{
    return m_editable;
}

void TStringGridModel::setEditable(bool editable)
{
    m_editable = editable;
}

qsizetype TStringGridModel::storageBytes() const
{
    qsizetype bytes = 0;
    for (const Column &column : m_columns)
        bytes += column.text.capacity() + column.ends.capacity() * qsizetype(sizeof(quint32));
    for (const QString &title : m_titles)
        bytes += title.capacity() * qsizetype(sizeof(QChar));
    for (const QString &edited : m_edited)
        bytes += qsizetype(sizeof(quint64) + sizeof(QString)) + edited.capacity() * qsizetype(sizeof(QChar));
    return bytes;
}

void TStringGridModel::schedulePublish()
{
    if (m_publishScheduled)
        return;
    m_publishScheduled = true;
    QMetaObject::invokeMethod(this, &TStringGridModel::publishRows, Qt::QueuedConnection);
}

void TStringGridModel::publishRows()
{
    m_publishScheduled = false;
    if (m_shownRows >= m_rows - 1)
        return;
    beginInsertRows(QModelIndex(), m_shownRows, m_rows - 2);
    m_shownRows = m_rows - 1;
    endInsertRows();
}

int TStringGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_shownRows;
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
    if (!m_editable || !index.isValid() || role != Qt::EditRole)
        return false;
    setCell(index.column(), index.row() + 1, value.toString());
    return true;
}

QVariant TStringGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_titles.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags TStringGridModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags itemFlags = QAbstractTableModel::flags(index);
    if (m_editable && index.isValid())
        itemFlags |= Qt::ItemIsEditable;
    return itemFlags;
}
