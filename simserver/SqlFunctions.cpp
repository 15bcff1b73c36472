#include "SqlFunctions.h"

#include "SimClock.h"

#include <cmath>
#include <cstdint>
#include <sqlite3.h>
#include <stdexcept>
#include <string>

namespace simserver::SqlFunctions {

namespace {

const SimClock &clockOf(sqlite3_context *context) { return *static_cast<const SimClock *>(sqlite3_user_data(context)); }

void simClock(sqlite3_context *context, int, sqlite3_value **)
{
    sqlite3_result_double(context, clockOf(context).elapsedSeconds());
}

void simWave(sqlite3_context *context, int, sqlite3_value **arguments)
{
    const double phase = sqlite3_value_double(arguments[0]);
    const double t = clockOf(context).elapsedSeconds();
    sqlite3_result_double(context, 0.5 + 0.3 * std::sin(t / 23.0 + phase) + 0.2 * std::sin(t / 5.3 + 1.7 * phase));
}

void resultText(sqlite3_context *context, const std::string &text)
{
    sqlite3_result_text(context, text.c_str(), int(text.size()), SQLITE_TRANSIENT);
}

void simTime(sqlite3_context *context, int, sqlite3_value **arguments)
{
    resultText(context, clockOf(context).timestamp(sqlite3_value_double(arguments[0])));
}

void getDate(sqlite3_context *context, int, sqlite3_value **) { resultText(context, clockOf(context).timestamp(0)); }

void length(sqlite3_context *context, int, sqlite3_value **arguments)
{
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL)
        return sqlite3_result_null(context);
    std::string text(reinterpret_cast<const char *>(sqlite3_value_text(arguments[0])));
    while (!text.empty() && text.back() == ' ') // T-SQL ignores trailing blanks
        text.pop_back();
    std::int64_t characters = 0;
    for (unsigned char c : text)
        characters += (c & 0xC0) != 0x80;
    sqlite3_result_int64(context, characters);
}

// SQLite hands out zeroed memory for it; no constructor runs.
struct Average {
    double sum;
    std::int64_t integerSum;
    std::int64_t count;
    bool sawNonInteger;
};

void averageStep(sqlite3_context *context, int, sqlite3_value **arguments)
{
    const int type = sqlite3_value_type(arguments[0]);
    if (type == SQLITE_NULL)
        return;
    auto *average = static_cast<Average *>(sqlite3_aggregate_context(context, sizeof(Average)));
    if (!average)
        return sqlite3_result_error_nomem(context);
    ++average->count;
    average->sum += sqlite3_value_double(arguments[0]);
    if (type == SQLITE_INTEGER)
        average->integerSum += sqlite3_value_int64(arguments[0]);
    else
        average->sawNonInteger = true;
}

void averageFinal(sqlite3_context *context)
{
    auto *average = static_cast<Average *>(sqlite3_aggregate_context(context, 0));
    if (!average || average->count == 0)
        return sqlite3_result_null(context);
    if (!average->sawNonInteger)
        return sqlite3_result_int64(context, average->integerSum / average->count);
    sqlite3_result_double(context, average->sum / double(average->count));
}

} // namespace

void registerAll(sqlite3 *db, const SimClock &clock)
{
    void *data = const_cast<SimClock *>(&clock);
    const int flags = SQLITE_UTF8 | SQLITE_INNOCUOUS;
    const int fixed = flags | SQLITE_DETERMINISTIC;
    struct Scalar {
        const char *name;
        int arguments;
        int flags;
        void (*function)(sqlite3_context *, int, sqlite3_value **);
    };
    const Scalar scalars[] = {{"sim_clock", 0, flags, simClock}, {"sim_wave", 1, flags, simWave},
                              {"sim_time", 1, flags, simTime},   {"getdate", 0, flags, getDate},
                              {"len", 1, fixed, length}};
    for (const Scalar &scalar : scalars)
        if (sqlite3_create_function_v2(db, scalar.name, scalar.arguments, scalar.flags, data, scalar.function, nullptr,
                                       nullptr, nullptr)
            != SQLITE_OK)
            throw std::runtime_error(std::string("cannot register ") + scalar.name);
    if (sqlite3_create_function_v2(db, "avg", 1, fixed, nullptr, nullptr, averageStep, averageFinal, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot register avg");
}

} // namespace simserver::SqlFunctions
