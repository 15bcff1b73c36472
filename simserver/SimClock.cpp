#include "SimClock.h"

#include <cstdio>
#include <ctime>

namespace simserver {

namespace {
constexpr std::chrono::seconds deterministicStart{1767225600}; // 2026-01-01 00:00:00 UTC
}

SimClock::SimClock(bool deterministic)
    : deterministic_(deterministic),
      start_(deterministic ? std::chrono::system_clock::time_point(deterministicStart) : std::chrono::system_clock::now()),
      frozen_(start_), next_(start_)
{
}

void SimClock::beginStatement(bool isQuery)
{
    if (!deterministic_) {
        frozen_ = std::chrono::system_clock::now();
        return;
    }
    frozen_ = next_;
    if (isQuery)
        next_ += std::chrono::seconds(1);
}

double SimClock::elapsedSeconds() const { return std::chrono::duration<double>(frozen_ - start_).count(); }

std::string SimClock::timestamp(double offsetSeconds) const
{
    const auto at = frozen_ + std::chrono::duration_cast<std::chrono::system_clock::duration>(
                                  std::chrono::duration<double>(offsetSeconds));
    const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count();
    const std::time_t seconds = std::time_t(milliseconds / 1000);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", parts.tm_year + 1900, parts.tm_mon + 1,
                  parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec, int(milliseconds % 1000));
    return text;
}

} // namespace simserver
