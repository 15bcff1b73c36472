#include "PointLines.h"

#include <numeric>

void PointLines::clear()
{
    count_ = 0;
    lines_ = QList<qsizetype>();
}

void PointLines::added(qsizetype point, qsizetype line)
{
    if (lines_.isEmpty() && point == count_ && line == count_) {
        ++count_;
        return;
    }
    if (lines_.isEmpty()) {
        lines_.resize(count_);
        std::iota(lines_.begin(), lines_.end(), qsizetype(0));
    }
    lines_.insert(point, line);
    ++count_;
}

qsizetype PointLines::lineOf(qsizetype point) const
{
    if (point < 0 || point >= count_)
        return -1;
    return lines_.isEmpty() ? point : lines_[point];
}
