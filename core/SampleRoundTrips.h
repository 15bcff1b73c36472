#pragma once

#include <QList>
#include <chrono>
#include <optional>

// Each recorded sample's round trip (its statement sent to its last row read), beside the
// sample's line in the slot's lists. Only the lines recorded since the lists were last replaced
// have one: lines loaded from a file never had a statement.
class SampleRoundTrips {
public:
    using Duration = std::chrono::microseconds;

    // The sample just recorded as `line` of the lists of that generation took `roundTrip`.
    void record(qsizetype line, quint64 generation, Duration roundTrip);
    std::optional<Duration> at(qsizetype line, quint64 generation) const;

private:
    // The lines with a round trip are firstLine_ onwards; a gap or new lists start them afresh.
    qsizetype firstLine_ = 0;
    quint64 generation_ = 0;
    // Microseconds: four bytes a sample, up to more than an hour.
    QList<quint32> micros_;
};
