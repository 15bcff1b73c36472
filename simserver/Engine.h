#pragma once

// The SQL side of the simulated server: SQLite behind every session, a persona that decides
// which catalogue and monitoring tables exist, and light rewriting of the T-SQL the program
// sends. Knows nothing about TDS; the protocol layer turns BatchOutcome into tokens.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace simserver {

enum class Persona { Ase, MsSql };

enum class ColumnType { Text, Integer, Float };

struct Column {
    std::string name; // UTF-8; empty for an unnamed column
    ColumnType type = ColumnType::Text;
};

// std::nullopt is SQL NULL. Text is UTF-8.
using Value = std::optional<std::variant<std::int64_t, double, std::string>>;

struct ResultSet {
    std::vector<Column> columns;
    std::vector<std::vector<Value>> rows;
};

struct ServerError {
    int number = 0;
    int severity = 16;
    int state = 1;
    std::string message; // UTF-8
};

// What one statement of a batch produced, in order.
struct StatementOutcome {
    std::optional<ResultSet> result;        // set when the statement yields a result set (possibly no rows)
    std::int64_t rowCount = 0;              // rows returned or affected
    std::optional<ServerError> error;       // set when the statement failed; the batch stops there
    std::optional<std::string> newDatabase; // set by `use <db>`
};

struct BatchOutcome {
    std::vector<StatementOutcome> statements;
    bool cancelled = false; // the client's attention arrived while the batch ran
};

struct EngineOptions {
    Persona persona = Persona::Ase;
    std::string databaseFile;  // empty: one shared in-memory database for the whole server
    std::string logFile;       // empty: no batch log
    bool deterministic = false; // clock starts at a fixed value and steps one second per query
};

class Session;

// One per server process; shared by all connection threads.
class Engine {
public:
    explicit Engine(const EngineOptions &options);
    ~Engine();
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;

    Persona persona() const;
    std::unique_ptr<Session> openSession(int spid, const std::string &user, const std::string &database);

private:
    friend class Session;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// One per client connection; used only by that connection's thread.
class Session {
public:
    ~Session();
    // Runs one batch verbatim as received (it is logged before anything else).
    // `cancelled` is polled while the batch runs (waitfor, long queries); when it returns true
    // the batch stops and BatchOutcome::cancelled is set.
    BatchOutcome execute(std::string_view batch, const std::function<bool()> &cancelled);
    const std::string &database() const;
    int spid() const;

private:
    friend class Engine;
    struct Impl;
    explicit Session(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

} // namespace simserver
