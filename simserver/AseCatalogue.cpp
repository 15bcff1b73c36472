#include "AseCatalogue.h"

#include "Database.h"
#include "LiveTable.h"
#include "PersonaRules.h"
#include "SqlToken.h"

#include <map>
#include <sstream>

namespace simserver::AseCatalogue {

namespace {

const char *const instance = "InstanceID";
const char *const instanceDescription = "The Server Instance Identifier (cluster only)";
const char *const startTime = "sim_time(-259200 - sim_clock())"; // three days before the first query

std::vector<LiveTable> liveTables()
{
    std::vector<LiveTable> tables;
    tables.push_back({"monState", "Provides information regarding the overall state of Adaptive Server", "k", "VALUES (1)",
        {fixedColumn("LockWaitThreshold", "int", "5", "Time (in seconds) that processes must have waited for locks in order to be reported"),
         counterColumn("LockWaits", "int", 40, 0.02, "Number of processes that have waited longer than LockWaitThreshold seconds"),
         fixedColumn("DaysRunning", "int", "cast(3 + sim_clock() / 86400 as integer)", "Number of days Adaptive Server has been running"),
         counterColumn("CheckPoints", "int", 800, 0.0167, "Number of checkpoints run by the server since it started"),
         counterColumn("NumDeadlocks", "int", 2, 0.0005, "Total number of deadlocks that have occurred"),
         fixedColumn("DiagnosticDumps", "int", "0", "Number of diagnostic dumps performed"),
         gaugeColumn("Connections", "int", 20, 60, 1, "Number of active inbound connections"),
         fixedColumn("MaxRecovery", "int", "5", "The maximum time (in minutes), per database, that Adaptive Server uses to complete its recovery procedures"),
         counterColumn("Transactions", "int", 1500000, 42.5, "Total number of committed Transact-SQL statement blocks (transactions)"),
         fixedColumn("StartDate", "datetime", startTime, "Date and time that Adaptive Server was started"),
         fixedColumn("CountersCleared", "datetime", startTime, "Date and time the monitor counters were last cleared"),
         counterColumn("Rollbacks", "int", 3000, 0.3, "Number of transactions rolled back since the server started"),
         counterColumn("Selects", "int", 9000000, 310, "Number of select statements executed since the server started"),
         counterColumn("Updates", "int", 700000, 21, "Number of update statements executed since the server started"),
         counterColumn("Inserts", "int", 900000, 27, "Number of insert statements executed since the server started"),
         counterColumn("Deletes", "int", 200000, 6, "Number of delete statements executed since the server started"),
         counterColumn("Merges", "int", 0, 0.01, "Number of merge statements executed since the server started"),
         counterColumn("ULCFlushes", "int", 600000, 18, "Number of times the user log caches were flushed to the transaction log"),
         counterColumn("ULCFlushFull", "int", 1200, 0.05, "Number of user log cache flushes because a user log cache was full"),
         counterColumn("ULCKBWritten", "int", 2500000, 75, "Number of kilobytes written to the user log caches"),
         counterColumn("PagesRead", "int", 4000000, 130, "Number of pages read server-wide"),
         counterColumn("PagesWritten", "int", 1500000, 45, "Number of pages written server-wide"),
         counterColumn("PhysicalReads", "int", 3000000, 95, "Number of buffers read from disk server-wide"),
         counterColumn("PhysicalWrites", "int", 1400000, 40, "Number of buffers written to disk server-wide"),
         gaugeColumn("LockCount", "int", 500, 3000, 2, "Number of locks currently held server-wide")}});

    tables.push_back({"monEngine", "Provides statistics regarding Adaptive Server engines", "k, n", "VALUES (1, 0), (0.8, 1)",
        {fixedColumn("EngineNumber", "smallint", "n", "Number of the engine"),
         fixedColumn(instance, "tinyint", "0", instanceDescription),
         gaugeColumn("CurrentKPID", "int", 65000, 66000, 3, "Kernel process identifier of the currently executing process"),
         gaugeColumn("PreviousKPID", "int", 65000, 66000, 4, "Kernel process identifier of the previously executing process"),
         counterColumn("CPUTime", "int", 259200, 1, "Total time (in seconds) the engine has been available to run"),
         counterColumn("SystemCPUTime", "int", 13000, 0.05, "Time (in seconds) the engine has been executing system database services"),
         counterColumn("UserCPUTime", "int", 78000, 0.3, "Time (in seconds) the engine has been executing user commands"),
         counterColumn("IOCPUTime", "int", 9000, 0.04, "Time (in seconds) the engine has been executing IO operations"),
         counterColumn("IdleCPUTime", "int", 168000, 0.61, "Time (in seconds) the engine has been in idle spin mode"),
         counterColumn("Yields", "int", 900000, 35, "Number of times this engine yielded to the operating system"),
         gaugeColumn("Connections", "int", 8, 30, 5, "Number of connections this engine handles"),
         counterColumn("DiskIOChecks", "int", 5000000, 190, "Number of times the engine checked for asynchronous disk I/O"),
         counterColumn("DiskIOPolled", "int", 2000000, 80, "Number of times the engine polled for completion of outstanding asynchronous disk I/O"),
         counterColumn("DiskIOCompleted", "int", 1900000, 75, "Number of asynchronous disk I/Os completed when the engine polled"),
         gaugeColumn("MaxOutstandingIOs", "int", 10, 120, 6, "Maximum number of I/O operations outstanding for this engine"),
         fixedColumn("ProcessesAffinitied", "int", "0", "Number of processes that have been affinitied to this engine"),
         counterColumn("ContextSwitches", "int", 7000000, 260, "Number of context switches"),
         fixedColumn("HkgcMaxQSize", "int", "20000", "Maximum number of items that can be queued for housekeeper garbage collection on this engine"),
         gaugeColumn("HkgcPendingItems", "int", 0, 40, 7, "Number of items yet to be collected by the housekeeper garbage collector"),
         fixedColumn("HkgcHWMItems", "int", "412", "Largest number of items queued for the housekeeper garbage collector"),
         fixedColumn("HkgcOverflows", "int", "0", "Number of items that could not be queued for the housekeeper garbage collector"),
         fixedColumn("Status", "varchar(20)", "'online'", "Status of the engine (online, offline, and so on)"),
         fixedColumn("StartTime", "datetime", startTime, "Date and time the engine came online"),
         fixedColumn("StopTime", "datetime", "NULL", "Date and time the engine went offline"),
         fixedColumn("AffinitiedToCPU", "int", "n", "Number of the CPU the engine is affinitied to"),
         fixedColumn("OSPID", "int", "4711 + n", "Operating system process identifier of the engine")}});

    tables.push_back({"monSysWaits", "Provides a server-wide view of where processes are waiting for an event", "k, id",
        "VALUES (1, 29), (0.6, 31), (2.5, 55), (0.2, 150), (1.4, 171), (3, 250), (0.4, 251)",
        {fixedColumn(instance, "tinyint", "0", instanceDescription),
         fixedColumn("WaitEventID", "smallint", "id", "Unique identifier for the wait event"),
         counterColumn("WaitTime", "int", 90000, 3.2, "Amount of time (in seconds) that tasks have spent waiting for the event"),
         counterColumn("Waits", "int", 400000, 14, "Number of times tasks have waited for the event")}});

    tables.push_back({"monProcessActivity", "Provides detailed statistics about process activity", "k, spid",
        "VALUES (0.1, 2), (0.2, 3), (0.3, 5), (1.5, 14), (0.9, 27)",
        {fixedColumn("SPID", "smallint", "spid", "Session process identifier"),
         fixedColumn(instance, "tinyint", "0", instanceDescription),
         fixedColumn("KPID", "int", "1900545 + 65536 * spid", "Kernel process identifier"),
         fixedColumn("ServerUserID", "int", "1", "Server user identifier (SUID) of the user"),
         counterColumn("CPUTime", "int", 12000, 0.6, "CPU time (in milliseconds) used by the process"),
         counterColumn("WaitTime", "int", 90000, 4, "Amount of time (in milliseconds) the process has spent waiting"),
         counterColumn("PhysicalReads", "int", 20000, 2, "Number of buffers read from disk"),
         counterColumn("LogicalReads", "int", 800000, 60, "Number of buffers read from cache"),
         counterColumn("PagesRead", "int", 30000, 2.5, "Number of pages read"),
         counterColumn("PhysicalWrites", "int", 9000, 0.8, "Number of buffers written to disk"),
         counterColumn("PagesWritten", "int", 10000, 0.9, "Number of pages written"),
         gaugeColumn("MemUsageKB", "int", 80, 600, 8, "Amount of memory (in kilobytes) allocated to the process"),
         gaugeColumn("LocksHeld", "int", 0, 40, 9, "Number of locks the process currently holds"),
         counterColumn("TableAccesses", "int", 50000, 3, "Number of pages read from tables without using an index"),
         counterColumn("IndexAccesses", "int", 70000, 5, "Number of pages read using an index"),
         gaugeColumn("TempDbObjects", "int", 0, 6, 10, "Number of temporary tables the process has created"),
         counterColumn("WorkTables", "int", 300, 0.02, "Number of work tables the process has created"),
         counterColumn("ULCBytesWritten", "int", 4000000, 120, "Number of bytes written to the user log cache"),
         counterColumn("ULCFlushes", "int", 6000, 0.4, "Total number of times the user log cache was flushed"),
         counterColumn("ULCFlushFull", "int", 20, 0.001, "Number of times the user log cache was flushed because it was full"),
         fixedColumn("ULCMaxUsage", "int", "cast(1200 * k as integer)", "Maximum usage (in bytes) of the user log cache"),
         gaugeColumn("ULCCurrentUsage", "int", 0, 900, 11, "Current usage (in bytes) of the user log cache"),
         counterColumn("Transactions", "int", 5000, 0.35, "Number of transactions started by the process"),
         counterColumn("Commits", "int", 4900, 0.34, "Number of transactions committed by the process"),
         counterColumn("Rollbacks", "int", 100, 0.01, "Number of transactions rolled back by the process")}});

    tables.push_back({"monDeviceIO", "Provides statistical information about devices", "k, logical, physical",
        "VALUES (0.3, 'master', '/sybase/data/master.dat'), (1.2, 'tempdbdev', '/sybase/data/tempdb.dat'), "
        "(2, 'data_dev1', '/sybase/data/data_dev1.dat'), (0.8, 'log_dev1', '/sybase/data/log_dev1.dat')",
        {fixedColumn(instance, "tinyint", "0", instanceDescription),
         counterColumn("Reads", "int", 500000, 30, "Number of reads from the device (excluding APF)"),
         counterColumn("APFReads", "int", 200000, 11, "Number of asynchronous prefetch (APF) reads from the device"),
         counterColumn("Writes", "int", 300000, 18, "Number of writes to the device"),
         counterColumn("DevSemaphoreRequests", "int", 800000, 48, "Number of I/O requests for the device semaphore"),
         counterColumn("DevSemaphoreWaits", "int", 900, 0.05, "Number of tasks forced to wait for the device semaphore"),
         counterColumn("IOTime", "int", 2000000, 110, "Total amount of time (in milliseconds) spent waiting for I/O requests to complete"),
         fixedColumn("LogicalName", "varchar(30)", "logical", "Logical name of the device"),
         fixedColumn("PhysicalName", "varchar(128)", "physical", "Full hierarchical file name of the device")}});

    tables.push_back({"monDataCache", "Returns statistics relating to Adaptive Server data caches", "k, id, name",
        "VALUES (3, 0, 'default data cache'), (0.7, 1, 'tempdb_cache')",
        {fixedColumn("CacheID", "int", "id", "Unique identifier for the cache"),
         fixedColumn(instance, "tinyint", "0", instanceDescription),
         fixedColumn("RelaxedReplacement", "int", "0", "Whether the cache uses the relaxed cache replacement strategy"),
         fixedColumn("BufferPools", "int", "2", "Number of buffer pools within the cache"),
         counterColumn("CacheSearches", "int", 9000000, 400, "Number of cache searches directed to the cache"),
         counterColumn("PhysicalReads", "int", 400000, 16, "Number of buffers read into the cache from disk"),
         counterColumn("LogicalReads", "int", 8800000, 385, "Number of buffers retrieved from the cache"),
         counterColumn("PhysicalWrites", "int", 250000, 9, "Number of buffers written from the cache to disk"),
         counterColumn("Stalls", "int", 10, 0.001, "Number of times I/O operations were delayed because no clean buffers were available"),
         fixedColumn("CachePartitions", "smallint", "4", "Number of partitions currently configured for the cache"),
         fixedColumn("CacheName", "varchar(30)", "name", "Name of the cache")}});

    tables.push_back({"monNetworkIO", "Provides network I/O statistics", "k", "VALUES (1)",
        {fixedColumn(instance, "tinyint", "0", instanceDescription),
         counterColumn("PacketsSent", "int", 3000000, 120, "Number of packets sent"),
         counterColumn("PacketsReceived", "int", 2800000, 110, "Number of packets received"),
         counterColumn("BytesSent", "int", 600000000, 24000, "Number of bytes sent"),
         counterColumn("BytesReceived", "int", 300000000, 11000, "Number of bytes received")}});

    tables.push_back({"monOpenObjectActivity", "Provides statistics for all open objects", "k, db, dbname, id, object",
        "VALUES (2, 4, 'sales', 576002052, 'orders'), (1.2, 4, 'sales', 608002166, 'customers'), "
        "(0.5, 2, 'tempdb', 1, 'sysobjects')",
        {fixedColumn("DBID", "int", "db", "Unique identifier for the database"),
         fixedColumn("ObjectID", "int", "id", "Unique identifier for the object"),
         fixedColumn("IndexID", "int", "0", "Unique identifier for the index"),
         fixedColumn(instance, "tinyint", "0", instanceDescription),
         fixedColumn("DBName", "varchar(30)", "dbname", "Name of the database that contains the object"),
         fixedColumn("ObjectName", "varchar(30)", "object", "Name of the object"),
         counterColumn("LogicalReads", "int", 600000, 40, "Number of buffers read from cache"),
         counterColumn("PhysicalReads", "int", 30000, 2, "Number of buffers read from disk"),
         counterColumn("APFReads", "int", 9000, 0.6, "Number of asynchronous prefetch (APF) buffers read"),
         counterColumn("PagesRead", "int", 40000, 2.6, "Total number of pages read"),
         counterColumn("PhysicalWrites", "int", 12000, 0.9, "Total number of buffers written to disk"),
         counterColumn("PagesWritten", "int", 13000, 1, "Total number of pages written to disk"),
         counterColumn("RowsInserted", "int", 90000, 5, "Number of rows inserted"),
         counterColumn("RowsDeleted", "int", 20000, 1, "Number of rows deleted"),
         counterColumn("RowsUpdated", "int", 60000, 3, "Number of updates"),
         counterColumn("Operations", "int", 300000, 18, "Number of times that the object was accessed"),
         counterColumn("LockRequests", "int", 500000, 30, "Number of requests for a lock on the object"),
         counterColumn("LockWaits", "int", 300, 0.02, "Number of times a task waited for a lock on the object"),
         counterColumn("OptSelectCount", "int", 4000, 0.2, "Number of times the object was selected for plan execution"),
         fixedColumn("LastOptSelectDate", "datetime", "sim_time(-30)", "Last date the index was selected for plan execution"),
         counterColumn("UsedCount", "int", 3500, 0.18, "Number of times the object was used in plan execution"),
         fixedColumn("LastUsedDate", "datetime", "sim_time(-12)", "Last date the index was used in plan execution")}});
    return tables;
}

struct AseType {
    int id;
    int length; // 0: the declared length
};

AseType aseType(const DeclaredType &type)
{
    static const std::map<std::string, AseType> types{{"int", {56, 4}},     {"smallint", {52, 2}}, {"tinyint", {48, 1}},
                                                      {"bigint", {191, 8}}, {"datetime", {61, 8}}, {"float", {62, 8}},
                                                      {"varchar", {39, 0}}};
    const AseType found = types.at(type.base);
    return {found.id, found.length ? found.length : type.length};
}

} // namespace

void install(Database &database)
{
    const std::string schema = PersonaRules::catalogueSchema(Persona::Ase);
    // Names compare without regard to case, as the program's choice of a table does.
    std::ostringstream sql;
    sql << "ATTACH ':memory:' AS " << schema << ";"
        << "CREATE TABLE " << schema << ".monTables (TableID int, Columns tinyint, Parameters tinyint, Indicators int, "
        << "Size int, TableName varchar(30) COLLATE NOCASE, Description varchar(368));"
        << "CREATE TABLE " << schema << ".monTableColumns (TableID int, ColumnID int, TypeID int, Precision int, "
        << "Scale int, Length int, Indicators int, TableName varchar(30) COLLATE NOCASE, "
        << "ColumnName varchar(30) COLLATE NOCASE, "
        << "TypeName varchar(20), Description varchar(768));";
    int tableId = 0;
    for (const LiveTable &table : liveTables()) {
        ++tableId;
        sql << createViewSql(table, schema);
        int size = 0;
        int columnId = 0;
        for (const LiveColumn &column : table.columns) {
            const DeclaredType declared = parseDeclaredType(column.type);
            const AseType type = aseType(declared);
            size += type.length;
            sql << "INSERT INTO " << schema << ".monTableColumns VALUES (" << tableId << ", " << ++columnId << ", "
                << type.id << ", 0, 0, " << type.length << ", " << (column.cumulative ? 1 : 0) << ", "
                << sqlQuoted(table.name) << ", " << sqlQuoted(column.name) << ", " << sqlQuoted(declared.base) << ", "
                << sqlQuoted(column.description) << ");";
        }
        sql << "INSERT INTO " << schema << ".monTables VALUES (" << tableId << ", " << table.columns.size() << ", 0, 1, "
            << size << ", " << sqlQuoted(table.name) << ", " << sqlQuoted(table.description) << ");";
    }
    database.executeScript(sql.str());
}

} // namespace simserver::AseCatalogue
