#include "TChartPoints.h"

#include <algorithm>

namespace {

// A span that holds NaN holds only NaN: a number always takes its place.
void widen(double &lowest, double &highest, double value)
{
    if (value < lowest || lowest != lowest)
        lowest = value;
    if (value > highest || highest != highest)
        highest = value;
}

} // namespace

TChartPoints::TChartPoints() : store_(new QCPGraphDataContainer) {}

void TChartPoints::add(double key, double value)
{
    const QCPGraphData point(key, value);
    if (store_->isEmpty() || key >= (store_->constEnd() - 1)->key) {
        store_->add(point);
        summarise(size() - 1);
        return;
    }
    // The store puts a point before those with an equal key; it belongs after them.
    const auto byKey = [](const QCPGraphData &a, const QCPGraphData &b) { return a.key < b.key; };
    const auto lower = std::lower_bound(store_->constBegin(), store_->constEnd(), point, byKey);
    const auto upper = std::upper_bound(lower, store_->constEnd(), point, byKey);
    const qsizetype firstEqual = lower - store_->constBegin();
    const auto equalCount = upper - lower;
    store_->add(point);
    const auto inserted = store_->begin() + firstEqual;
    std::rotate(inserted, inserted + 1, inserted + 1 + equalCount);

    // Every block from the one the point went into on has moved: each level is summarised again
    // from there, the first from the points, each other from the level below.
    for (int level = 0; level < levelCount; ++level) {
        std::vector<Span> &spans = levels_[level];
        spans.resize(std::min(spans.size(), size_t(firstEqual >> (levelBits * (level + 1)))));
        const size_t below = level == 0 ? size_t(size()) : levels_[level - 1].size();
        for (size_t block = spans.size(); (block + 1) << levelBits <= below; ++block)
            spans.push_back(level == 0 ? spanOfPoints(block << levelBits) : spanOfBlocks(levels_[level - 1], block << levelBits));
    }
}

void TChartPoints::clear()
{
    store_->clear();
    for (std::vector<Span> &spans : levels_)
        std::vector<Span>().swap(spans);
}

TChartPoints::Span TChartPoints::spanOfPoints(size_t first) const
{
    const auto start = store_->constBegin() + qsizetype(first);
    Span span{start->value, start->value};
    for (auto point = start + 1; point != start + fanout; ++point)
        widen(span.lowest, span.highest, point->value);
    return span;
}

TChartPoints::Span TChartPoints::spanOfBlocks(const std::vector<Span> &spans, size_t first)
{
    Span span = spans[first];
    for (size_t block = first + 1; block < first + fanout; ++block) {
        widen(span.lowest, span.highest, spans[block].lowest);
        widen(span.lowest, span.highest, spans[block].highest);
    }
    return span;
}

// The point at index is the newest one. Only whole blocks are ever read, so a block is summarised
// when its last point comes, and its parent when it is the parent's last child.
void TChartPoints::summarise(qsizetype index)
{
    if ((index & (fanout - 1)) != fanout - 1)
        return;
    size_t block = size_t(index >> levelBits);
    levels_[0].push_back(spanOfPoints(block << levelBits));
    for (int level = 1; level < levelCount && (block & (fanout - 1)) == fanout - 1; ++level) {
        block >>= levelBits;
        levels_[level].push_back(spanOfBlocks(levels_[level - 1], block << levelBits));
    }
}

// Level -1 is the points themselves.
double TChartPoints::valueOf(int level, qsizetype block, bool highest) const
{
    if (level < 0)
        return at(block).value;
    const Span &span = levels_[level][size_t(block)];
    return highest ? span.highest : span.lowest;
}

qsizetype TChartPoints::firstIndexOf(int level, qsizetype block, double value, bool highest) const
{
    for (; level >= 0; --level) {
        qsizetype child = block << levelBits;
        while (valueOf(level - 1, child, highest) != value)
            ++child;
        block = child;
    }
    return block;
}

TChartPoints::Extremes TChartPoints::extremes(qsizetype begin, qsizetype end) const
{
    struct Found {
        double value;
        int level;
        qsizetype block;
    };
    Found low{at(begin).value, -1, begin};
    Found high = low;
    const auto pieceSize = [](int level) { return qsizetype(1) << (levelBits * (level + 1)); };
    const auto take = [&](int level, qsizetype &position) {
        const qsizetype block = position / pieceSize(level);
        const double lowest = valueOf(level, block, false);
        const double highest = valueOf(level, block, true);
        // Strictly lower or higher: the first of equal values stays.
        if (lowest < low.value)
            low = {lowest, level, block};
        if (highest > high.value)
            high = {highest, level, block};
        position += pieceSize(level);
    };

    // The fewest whole blocks that cover the run: growing from its start, shrinking to its end.
    qsizetype position = begin + 1;
    int level = -1;
    while (level + 1 < levelCount) {
        const qsizetype larger = pieceSize(level + 1);
        while (position % larger != 0 && position + pieceSize(level) <= end)
            take(level, position);
        if (position % larger != 0 || position + larger > end)
            break;
        ++level;
    }
    for (; level >= -1; --level) {
        while (position + pieceSize(level) <= end)
            take(level, position);
    }
    return {firstIndexOf(low.level, low.block, low.value, false),
            firstIndexOf(high.level, high.block, high.value, true)};
}
