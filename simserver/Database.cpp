#include "Database.h"

#include "SqlFunctions.h"
#include "SqlToken.h"

#include <charconv>
#include <sqlite3.h>
#include <stdexcept>

namespace simserver {

namespace {

std::optional<ColumnType> declaredType(const char *declared)
{
    if (!declared)
        return std::nullopt;
    const std::string type = toUpper(declared);
    auto has = [&](const char *part) { return type.find(part) != std::string::npos; };
    if (has("INT") || has("BIT"))
        return ColumnType::Integer;
    if (has("CHAR") || has("CLOB") || has("TEXT") || has("DATE") || has("TIME"))
        return ColumnType::Text;
    if (has("REAL") || has("FLOA") || has("DOUB"))
        return ColumnType::Float;
    return std::nullopt;
}

std::string hexText(const unsigned char *bytes, int size)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int i = 0; i < size; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

std::string shortestText(double value)
{
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

// Reads a value as the column's type, which the first non-NULL value or the declaration fixed.
Value readValue(sqlite3_stmt *statement, int column, ColumnType type)
{
    const int stored = sqlite3_column_type(statement, column);
    if (stored == SQLITE_NULL)
        return std::nullopt;
    switch (type) {
    case ColumnType::Integer:
        return std::int64_t(sqlite3_column_int64(statement, column));
    case ColumnType::Float:
        return sqlite3_column_double(statement, column);
    case ColumnType::Text:
        break;
    }
    if (stored == SQLITE_FLOAT)
        return shortestText(sqlite3_column_double(statement, column));
    if (stored == SQLITE_BLOB)
        return hexText(static_cast<const unsigned char *>(sqlite3_column_blob(statement, column)),
                       sqlite3_column_bytes(statement, column));
    return std::string(reinterpret_cast<const char *>(sqlite3_column_text(statement, column)),
                       std::size_t(sqlite3_column_bytes(statement, column)));
}

ColumnType typeOfStored(int stored)
{
    return stored == SQLITE_INTEGER ? ColumnType::Integer : stored == SQLITE_FLOAT ? ColumnType::Float : ColumnType::Text;
}

} // namespace

Database::Database(const std::string &file, bool deterministicClock) : clock_(deterministicClock)
{
    const std::string name = file.empty() ? ":memory:" : file;
    if (sqlite3_open_v2(name.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr)
        != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        throw std::runtime_error("cannot open " + name + ": " + message);
    }
    sqlite3_busy_timeout(db_, 5000);
    sqlite3_progress_handler(db_, 1000, &Database::progress, this);
    registerFunctions();
}

Database::~Database() { sqlite3_close(db_); }

int Database::progress(void *self)
{
    const auto *cancelled = static_cast<Database *>(self)->cancelled_;
    return cancelled && *cancelled && (*cancelled)() ? 1 : 0;
}

void Database::registerFunctions() { SqlFunctions::registerAll(db_, clock_); }

void Database::executeScript(const std::string &sql)
{
    const std::lock_guard lock(mutex_);
    char *message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "unknown error";
        sqlite3_free(message);
        throw std::runtime_error(text + " in: " + sql);
    }
}

QueryOutcome Database::run(const std::string &sql, const std::function<bool()> &cancelled, bool advancesClock)
{
    const std::lock_guard lock(mutex_);
    QueryOutcome outcome;
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), int(sql.size()), &statement, nullptr) != SQLITE_OK) {
        outcome.error = sqlite3_errmsg(db_);
        return outcome;
    }
    if (!statement) // nothing but blanks
        return outcome;
    const int columnCount = sqlite3_column_count(statement);
    clock_.beginStatement(columnCount > 0 && advancesClock);
    cancelled_ = &cancelled;

    std::vector<std::optional<ColumnType>> types(std::size_t(columnCount), std::nullopt);
    if (columnCount > 0) {
        outcome.result.emplace();
        for (int c = 0; c < columnCount; ++c) {
            outcome.result->columns.push_back({sqlite3_column_name(statement, c), ColumnType::Text});
            types[std::size_t(c)] = declaredType(sqlite3_column_decltype(statement, c));
        }
    }
    const auto changesBefore = sqlite3_total_changes64(db_);
    int step;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        std::vector<Value> row;
        for (int c = 0; c < columnCount; ++c) {
            auto &type = types[std::size_t(c)];
            if (!type && sqlite3_column_type(statement, c) != SQLITE_NULL)
                type = typeOfStored(sqlite3_column_type(statement, c));
            row.push_back(readValue(statement, c, type.value_or(ColumnType::Text)));
        }
        outcome.result->rows.push_back(std::move(row));
    }
    cancelled_ = nullptr;
    if (step == SQLITE_INTERRUPT) {
        outcome.interrupted = true;
    } else if (step != SQLITE_DONE) {
        outcome.error = sqlite3_errmsg(db_);
    } else if (outcome.result) {
        for (int c = 0; c < columnCount; ++c)
            outcome.result->columns[std::size_t(c)].type = types[std::size_t(c)].value_or(ColumnType::Text);
        outcome.rowCount = std::int64_t(outcome.result->rows.size());
    } else {
        outcome.rowCount = sqlite3_total_changes64(db_) - changesBefore;
    }
    sqlite3_finalize(statement);
    return outcome;
}

} // namespace simserver
