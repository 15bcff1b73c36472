#pragma once

#include <QList>
#include <chrono>
#include <optional>

// The round trips of a slot's samples since Run: the last, the median and the maximum. The
// median comes from a histogram of half-percent bins, so that an unbounded run costs a fixed
// few kilobytes and a sample a handful of instructions.
class RoundTripSummary {
public:
    using Duration = std::chrono::microseconds;
    struct Figures {
        Duration last;
        Duration median;
        Duration maximum;
        qint64 count;
    };

    // Run: the summary starts over.
    void restart();
    void add(Duration roundTrip);
    // Nothing before the first sample since Run.
    std::optional<Figures> figures() const;

private:
    QList<qint64> bins_;
    qint64 count_ = 0;
    Duration last_{};
    Duration minimum_{};
    Duration maximum_{};
};
