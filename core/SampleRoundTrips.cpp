#include "SampleRoundTrips.h"

#include <algorithm>
#include <limits>

void SampleRoundTrips::record(qsizetype line, quint64 generation, Duration roundTrip)
{
    if (generation != generation_ || line != firstLine_ + micros_.size()) {
        micros_ = QList<quint32>();
        firstLine_ = line;
        generation_ = generation;
    }
    const auto longest = Duration::rep(std::numeric_limits<quint32>::max());
    micros_.append(quint32(std::clamp(roundTrip.count(), Duration::rep(0), longest)));
}

std::optional<SampleRoundTrips::Duration> SampleRoundTrips::at(qsizetype line, quint64 generation) const
{
    const qsizetype index = line - firstLine_;
    if (generation != generation_ || index < 0 || index >= micros_.size())
        return std::nullopt;
    return Duration(micros_[index]);
}
