#include "TextTable.h"

#include <algorithm>

TextTable::TextTable(QStringList names) : names_(std::move(names))
{
}

qsizetype TextTable::rowCount() const
{
    return names_.isEmpty() ? 0 : qsizetype(ends_.size()) / names_.size();
}

void TextTable::append(QStringView cell)
{
    const qsizetype start = text_.size();
    const qsizetype needed = start + toUtf8_.requiredSpace(cell.size());
    // Grow geometrically by hand: resizing alone would reallocate at every cell.
    if (needed > text_.capacity())
        text_.reserve(std::max(needed, 2 * text_.capacity()));
    text_.resize(needed);
    char *end = toUtf8_.appendToBuffer(text_.data() + start, cell);
    text_.truncate(end - text_.constData());
    ends_.push_back(text_.size());
}

QString TextTable::cell(qsizetype row, int column) const
{
    const std::size_t index = std::size_t(row * names_.size() + column);
    if (column < 0 || column >= names_.size() || index >= ends_.size())
        return {};
    const qsizetype start = index == 0 ? 0 : ends_[index - 1];
    return QString::fromUtf8(text_.constData() + start, ends_[index] - start);
}
