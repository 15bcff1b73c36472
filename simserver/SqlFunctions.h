#pragma once

// SQL functions the monitoring views and T-SQL statements need beyond SQLite's own:
//   sim_clock()         seconds since the server started, at the statement's instant
//   sim_wave(phase)     a value in [0, 1] that wanders smoothly with the clock
//   sim_time(offset)    the statement's instant moved by offset seconds, as text
//   getdate(), len(s)
//   avg(x)              T-SQL's: the average of integers is an integer

struct sqlite3;

namespace simserver {

class SimClock;

namespace SqlFunctions {
void registerAll(sqlite3 *db, const SimClock &clock);
}

} // namespace simserver
