#pragma once

// The time the monitoring views see. Each statement reads one frozen instant, so all rows of
// a result agree. A deterministic clock starts at 2026-01-01 00:00:00 UTC and moves on by one
// second after every query (every statement run against SQLite that returns a result set),
// so tests see counters grow by fixed steps whatever the machine's speed.
// Not thread-safe: the database calls it under its statement lock.

#include <chrono>
#include <cstdint>
#include <string>

namespace simserver {

class SimClock {
public:
    explicit SimClock(bool deterministic);

    void beginStatement(bool isQuery);
    // Seconds from the server's start to the frozen instant.
    double elapsedSeconds() const;
    // The frozen instant moved by `offsetSeconds`, as "yyyy-mm-dd hh:mm:ss.mmm" (UTC).
    std::string timestamp(double offsetSeconds) const;

private:
    bool deterministic_;
    std::chrono::system_clock::time_point start_;
    std::chrono::system_clock::time_point frozen_;
    std::chrono::system_clock::time_point next_;
};

} // namespace simserver
