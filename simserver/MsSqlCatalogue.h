#pragma once

// SQL Server's catalogue: sys.all_objects and sys.all_columns, and live dm_* views under sys
// whose counters move with the clock.

namespace simserver {

class Database;

namespace MsSqlCatalogue {
void install(Database &database);
}

} // namespace simserver
