#include "RoundTripSummary.h"

#include <algorithm>
#include <cmath>

namespace {

// Bin k holds the round trips from binRatio^k to binRatio^(k+1) microseconds, bin 0 those
// under a microsecond too; the median is told within half a percent.
constexpr double binRatio = 1.005;
const double logBinRatio = std::log(binRatio);

qsizetype binOf(RoundTripSummary::Duration roundTrip)
{
    const double micros = double(roundTrip.count());
    return micros <= 1 ? 0 : qsizetype(std::log(micros) / logBinRatio);
}

// The bin's geometric middle.
RoundTripSummary::Duration middleOf(qsizetype bin)
{
    return RoundTripSummary::Duration(qint64(std::llround(std::pow(binRatio, double(bin) + 0.5))));
}

} // namespace

void RoundTripSummary::restart()
{
    *this = RoundTripSummary();
}

void RoundTripSummary::add(Duration roundTrip)
{
    roundTrip = std::max(roundTrip, Duration(0));
    const qsizetype bin = binOf(roundTrip);
    if (bin >= bins_.size())
        bins_.resize(bin + 1);
    ++bins_[bin];
    ++count_;
    last_ = roundTrip;
    minimum_ = count_ == 1 ? roundTrip : std::min(minimum_, roundTrip);
    maximum_ = std::max(maximum_, roundTrip);
}

std::optional<RoundTripSummary::Figures> RoundTripSummary::figures() const
{
    if (count_ == 0)
        return std::nullopt;
    // The lower median: the sample at place (count + 1) / 2 in order.
    const qint64 place = (count_ + 1) / 2;
    qint64 seen = 0;
    qsizetype bin = 0;
    while (seen + bins_[bin] < place)
        seen += bins_[bin++];
    // A bin's middle may lie outside the samples: a run of equal round trips has its own median.
    const Duration median = std::clamp(middleOf(bin), minimum_, maximum_);
    return Figures{last_, median, maximum_, count_};
}
