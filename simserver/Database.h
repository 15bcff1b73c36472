#pragma once

// The one SQLite connection behind every session of a server. Statements run one at a time
// under a lock (sessions run on their own threads); a running statement stops when its
// caller's `cancelled` turns true.

#include "Engine.h"
#include "SimClock.h"

#include <functional>
#include <mutex>
#include <optional>
#include <string>

struct sqlite3;

namespace simserver {

struct QueryOutcome {
    std::optional<ResultSet> result; // set when the statement returns columns
    std::int64_t rowCount = 0;
    std::optional<std::string> error; // SQLite's message
    bool interrupted = false;
};

class Database {
public:
    Database(const std::string &file, bool deterministicClock); // empty file: private in-memory database
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // For building the catalogue; throws std::runtime_error on failure.
    void executeScript(const std::string &sql);
    // `advancesClock`: an internal evaluation (an if's condition) does not count as a query.
    QueryOutcome run(const std::string &sql, const std::function<bool()> &cancelled, bool advancesClock = true);

private:
    void registerFunctions();
    static int progress(void *self);

    std::mutex mutex_;
    sqlite3 *db_ = nullptr;
    SimClock clock_;
    const std::function<bool()> *cancelled_ = nullptr;
};

} // namespace simserver
