#pragma once

#include <array>
#include <qcustomplot.h>
#include <vector>

// A chart's points in ascending key order, with the lowest and highest value of every block of
// 16, 256, 4096, ... points kept up to date as points come. The lowest and highest point of any
// run of points is then found in a few hundred steps however long the run, so a replot costs
// what the pixels need rather than what the points hold.
class TChartPoints {
public:
    TChartPoints();

    // The store the series and the marks draw from.
    QSharedPointer<QCPGraphDataContainer> store() const { return store_; }
    qsizetype size() const { return store_->size(); }
    const QCPGraphData &at(qsizetype index) const { return *(store_->constBegin() + index); }

    // Goes in after the last point whose key is not greater than its own. Constant time when the
    // key is not below the last one; otherwise the points after it move.
    void add(double key, double value);
    void clear();

    // First index of the lowest and of the highest value in [begin, end), which must not be empty.
    // NaN values are never chosen unless the first point is one.
    struct Extremes {
        qsizetype lowest;
        qsizetype highest;
    };
    Extremes extremes(qsizetype begin, qsizetype end) const;

private:
    static constexpr int levelBits = 4;
    static constexpr qsizetype fanout = qsizetype(1) << levelBits;
    // Blocks of 16^1 .. 16^7 points: 268 million points before the top level holds two blocks.
    static constexpr int levelCount = 7;

    struct Span {
        double lowest;
        double highest;
    };

    Span spanOfPoints(size_t first) const;
    static Span spanOfBlocks(const std::vector<Span> &spans, size_t first);
    void summarise(qsizetype index);
    double valueOf(int level, qsizetype block, bool highest) const;
    qsizetype firstIndexOf(int level, qsizetype block, double value, bool highest) const;

    QSharedPointer<QCPGraphDataContainer> store_;
    // levels_[l][b] spans the points [b * 16^(l+1), (b+1) * 16^(l+1)); only whole blocks are held.
    std::array<std::vector<Span>, levelCount> levels_;
};
