#pragma once

// ASE's monitoring tables: master..monTables and master..monTableColumns describing live
// mon* tables whose counters move with the clock.

namespace simserver {

class Database;

namespace AseCatalogue {
void install(Database &database);
}

} // namespace simserver
