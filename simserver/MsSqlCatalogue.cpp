#include "MsSqlCatalogue.h"

#include "Database.h"
#include "LiveTable.h"
#include "PersonaRules.h"
#include "SqlToken.h"

#include <map>
#include <sstream>

namespace simserver::MsSqlCatalogue {

namespace {

const char *const loginTime = "sim_time(-86400 - sim_clock())"; // a day before the first query

std::vector<LiveTable> liveViews()
{
    std::vector<LiveTable> views;
    views.push_back({"dm_os_performance_counters", "VIEW", "k, object, counter, instance, kind, base, rate, span",
        "VALUES (1, 'SQLServer:SQL Statistics', 'Batch Requests/sec', '', 272696576, 250000, 35, 0), "
        "(2, 'SQLServer:SQL Statistics', 'SQL Compilations/sec', '', 272696576, 40000, 4, 0), "
        "(3, 'SQLServer:SQL Statistics', 'SQL Re-Compilations/sec', '', 272696576, 900, 0.1, 0), "
        "(4, 'SQLServer:General Statistics', 'User Connections', '', 65792, 12, 0, 30), "
        "(5, 'SQLServer:Buffer Manager', 'Page life expectancy', '', 65792, 2000, 0, 3000), "
        "(6, 'SQLServer:Buffer Manager', 'Page reads/sec', '', 272696576, 900000, 60, 0), "
        "(7, 'SQLServer:Buffer Manager', 'Page writes/sec', '', 272696576, 400000, 25, 0), "
        "(8, 'SQLServer:Databases', 'Transactions/sec', 'master', 272696576, 30000, 2, 0), "
        "(9, 'SQLServer:Databases', 'Transactions/sec', '_Total', 272696576, 800000, 45, 0), "
        "(10, 'SQLServer:Locks', 'Lock Requests/sec', '_Total', 272696576, 5000000, 300, 0), "
        "(11, 'SQLServer:Locks', 'Lock Waits/sec', '_Total', 272696576, 700, 0.05, 0), "
        "(12, 'SQLServer:Memory Manager', 'Total Server Memory (KB)', '', 65792, 1500000, 0, 200000)",
        {fixedColumn("object_name", "nchar(128)", "object", "Category to which this counter belongs"),
         fixedColumn("counter_name", "nchar(128)", "counter", "Name of the counter"),
         fixedColumn("instance_name", "nchar(128)", "instance", "Name of the specific instance of the counter"),
         {"cntr_value", "bigint", "cast(base + rate * sim_clock() + span * sim_wave(k) as integer)", "Current value of the counter", false},
         fixedColumn("cntr_type", "int", "kind", "Type of counter as defined by the Windows performance architecture")}});

    views.push_back({"dm_os_wait_stats", "VIEW", "k, wait",
        "VALUES (3, 'CXPACKET'), (2, 'PAGEIOLATCH_SH'), (1.5, 'WRITELOG'), (0.5, 'LCK_M_X'), "
        "(4, 'SOS_SCHEDULER_YIELD'), (0.8, 'ASYNC_NETWORK_IO')",
        {fixedColumn("wait_type", "nvarchar(60)", "wait", "Name of the wait type"),
         counterColumn("waiting_tasks_count", "bigint", 50000, 3, "Number of waits on this wait type"),
         counterColumn("wait_time_ms", "bigint", 900000, 40, "Total wait time for this wait type in milliseconds"),
         fixedColumn("max_wait_time_ms", "bigint", "cast(350 * k as integer)", "Maximum wait time on this wait type"),
         counterColumn("signal_wait_time_ms", "bigint", 60000, 2.5, "Difference between the time that the waiting thread was signaled and when it started running")}});

    views.push_back({"dm_exec_requests", "VIEW", "k, session, status, command, wait",
        "VALUES (1, 51, 'running', 'SELECT', NULL), (0.4, 54, 'suspended', 'UPDATE', 'LCK_M_X'), "
        "(0.2, 12, 'background', 'TASK MANAGER', 'ONDEMAND_TASK_QUEUE')",
        {fixedColumn("session_id", "smallint", "session", "ID of the session to which this request is related"),
         fixedColumn("request_id", "int", "0", "ID of the request, unique in the context of the session"),
         fixedColumn("start_time", "datetime", "sim_time(-5 * k)", "Timestamp when the request arrived"),
         fixedColumn("status", "nvarchar(30)", "status", "Status of the request"),
         fixedColumn("command", "nvarchar(32)", "command", "Type of command being processed"),
         fixedColumn("database_id", "smallint", "1", "ID of the database the request is executing against"),
         fixedColumn("blocking_session_id", "smallint", "0", "ID of the session that is blocking the request"),
         fixedColumn("wait_type", "nvarchar(60)", "wait", "If the request is blocked, the type of wait"),
         gaugeColumn("wait_time", "int", 0, 2000, 1, "If the request is blocked, the duration in milliseconds of the current wait"),
         counterColumn("cpu_time", "int", 300, 0.2, "CPU time in milliseconds used by the request"),
         counterColumn("total_elapsed_time", "int", 5000, 1000, "Total time elapsed in milliseconds since the request arrived"),
         counterColumn("reads", "bigint", 2000, 5, "Number of reads performed by the request"),
         counterColumn("writes", "bigint", 300, 1, "Number of writes performed by the request"),
         counterColumn("logical_reads", "bigint", 90000, 40, "Number of logical reads performed by the request"),
         gaugeColumn("row_count", "bigint", 0, 500, 2, "Number of rows returned to the client by the request"),
         gaugeColumn("granted_query_memory", "int", 0, 1024, 3, "Number of pages allocated to the execution of a query")}});

    views.push_back({"dm_exec_sessions", "VIEW", "k, session, host, program, login, user",
        "VALUES (1, 51, 'apphost01', 'Quintaro', 'sa', 1), (0.6, 54, 'apphost02', 'OrderService', 'orders', 1), "
        "(0.1, 12, NULL, NULL, 'sa', 0)",
        {fixedColumn("session_id", "smallint", "session", "Identifies the session"),
         fixedColumn("login_time", "datetime", loginTime, "Time when the session was established"),
         fixedColumn("host_name", "nvarchar(128)", "host", "Name of the client workstation"),
         fixedColumn("program_name", "nvarchar(128)", "program", "Name of the client program that initiated the session"),
         fixedColumn("login_name", "nvarchar(128)", "login", "SQL Server login name under which the session is executing"),
         fixedColumn("status", "nvarchar(30)", "case when user = 1 then 'running' else 'sleeping' end", "Status of the session"),
         counterColumn("cpu_time", "int", 40000, 0.5, "CPU time, in milliseconds, used by this session"),
         gaugeColumn("memory_usage", "int", 2, 60, 4, "Number of 8-KB pages of memory used by this session"),
         counterColumn("total_elapsed_time", "int", 60000, 30, "Time, in milliseconds, since the session was established"),
         counterColumn("reads", "bigint", 20000, 6, "Number of reads performed by requests in this session"),
         counterColumn("writes", "bigint", 5000, 1.5, "Number of writes performed by requests in this session"),
         counterColumn("logical_reads", "bigint", 500000, 90, "Number of logical reads performed by requests in this session"),
         fixedColumn("is_user_process", "bit", "user", "0 if the session is a system session, otherwise 1"),
         gaugeColumn("row_count", "bigint", 0, 2000, 5, "Number of rows returned on the session up to this point")}});

    views.push_back({"dm_os_schedulers", "VIEW", "k, scheduler, cpu, status",
        "VALUES (1, 0, 0, 'VISIBLE ONLINE'), (0.9, 1, 1, 'VISIBLE ONLINE'), (0.1, 1048576, 0, 'HIDDEN ONLINE')",
        {fixedColumn("scheduler_id", "int", "scheduler", "ID of the scheduler"),
         fixedColumn("cpu_id", "smallint", "cpu", "CPU ID assigned to the scheduler"),
         fixedColumn("status", "nvarchar(60)", "status", "Indicates the status of the scheduler"),
         fixedColumn("is_online", "bit", "1", "Whether the scheduler is online"),
         gaugeColumn("current_tasks_count", "int", 2, 20, 6, "Number of current tasks associated with this scheduler"),
         gaugeColumn("runnable_tasks_count", "int", 0, 4, 7, "Number of workers waiting to be scheduled on the runnable queue"),
         gaugeColumn("current_workers_count", "int", 10, 40, 8, "Number of workers associated with this scheduler"),
         gaugeColumn("active_workers_count", "int", 5, 20, 9, "Number of workers that are active"),
         fixedColumn("work_queue_count", "bigint", "0", "Number of tasks in the pending queue"),
         gaugeColumn("load_factor", "int", 1, 30, 10, "Internal value that indicates the perceived load on this scheduler"),
         counterColumn("yield_count", "int", 800000, 70, "Internal value used to indicate progress on this scheduler"),
         counterColumn("context_switches_count", "int", 600000, 55, "Number of scheduler switches that have occurred on this scheduler")}});

    views.push_back({"dm_io_virtual_file_stats", "SQL_INLINE_TABLE_VALUED_FUNCTION", "k, db, file",
        "VALUES (0.5, 1, 1), (0.2, 1, 2), (2, 2, 1), (1, 2, 2), (3, 5, 1), (1.5, 5, 2)",
        {fixedColumn("database_id", "smallint", "db", "ID of the database"),
         fixedColumn("file_id", "smallint", "file", "ID of the file"),
         fixedColumn("sample_ms", "bigint", "cast(86400000 + 1000 * sim_clock() as integer)", "Number of milliseconds since the computer was started"),
         counterColumn("num_of_reads", "bigint", 40000, 3, "Number of reads issued on the file"),
         counterColumn("num_of_bytes_read", "bigint", 327680000, 24576, "Total number of bytes read on this file"),
         counterColumn("io_stall_read_ms", "bigint", 90000, 6, "Total time, in milliseconds, that the users waited for reads issued on the file"),
         counterColumn("num_of_writes", "bigint", 20000, 1.5, "Number of writes made on this file"),
         counterColumn("num_of_bytes_written", "bigint", 163840000, 12288, "Total number of bytes written to the file"),
         counterColumn("io_stall_write_ms", "bigint", 40000, 2.5, "Total time, in milliseconds, that users waited for writes to be completed on the file"),
         counterColumn("io_stall", "bigint", 130000, 8.5, "Total time, in milliseconds, that users waited for I/O to be completed on the file"),
         fixedColumn("size_on_disk_bytes", "bigint", "cast(67108864 * k as integer)", "Number of bytes used on the disk for this file")}});
    return views;
}

// System objects that are not dm_* views, so a name filter has something to leave out.
struct OtherObject {
    const char *name;
    const char *type;
    const char *typeDescription;
};
const OtherObject otherObjects[] = {
    {"all_objects", "V", "VIEW"},           {"all_columns", "V", "VIEW"},
    {"objects", "V", "VIEW"},               {"tables", "V", "VIEW"},
    {"sysprocesses", "V", "VIEW"},          {"sysdatabases", "V", "VIEW"},
    {"sp_who", "P", "SQL_STORED_PROCEDURE"}, {"sp_datatype_info", "P", "SQL_STORED_PROCEDURE"},
    {"fn_virtualfilestats", "IF", "SQL_INLINE_TABLE_VALUED_FUNCTION"}};

struct MsSqlType {
    int id;
    int maxLength; // 0: from the declared length
    int precision;
    int scale;
    int bytesPerCharacter;
};

MsSqlType msSqlType(const std::string &base)
{
    static const std::map<std::string, MsSqlType> types{
        {"int", {56, 4, 10, 0, 0}},        {"smallint", {52, 2, 5, 0, 0}}, {"tinyint", {48, 1, 3, 0, 0}},
        {"bigint", {127, 8, 19, 0, 0}},    {"bit", {104, 1, 1, 0, 0}},     {"datetime", {61, 8, 23, 3, 0}},
        {"float", {62, 8, 53, 0, 0}},      {"nvarchar", {231, 0, 0, 0, 2}}, {"nchar", {239, 0, 0, 0, 2}},
        {"varchar", {167, 0, 0, 0, 1}}};
    return types.at(base);
}

} // namespace

void install(Database &database)
{
    const std::string schema = PersonaRules::catalogueSchema(Persona::MsSql);
    // The default collation ignores case.
    std::ostringstream sql;
    sql << "ATTACH ':memory:' AS " << schema << ";"
        << "CREATE TABLE " << schema << ".all_objects (name nvarchar(128) COLLATE NOCASE, object_id int, principal_id int, "
        << "schema_id int, parent_object_id int, type char(2), type_desc nvarchar(60), create_date datetime, "
        << "modify_date datetime, is_ms_shipped bit, is_published bit, is_schema_published bit);"
        << "CREATE TABLE " << schema << ".all_columns (object_id int, name nvarchar(128) COLLATE NOCASE, column_id int, "
        << "system_type_id tinyint, user_type_id int, max_length smallint, precision tinyint, scale tinyint, "
        << "collation_name nvarchar(128), is_nullable bit, is_ansi_padded bit, is_rowguidcol bit, is_identity bit, "
        << "is_computed bit);";
    auto addObject = [&](const std::string &name, int objectId, const std::string &type, const std::string &description) {
        sql << "INSERT INTO " << schema << ".all_objects VALUES (" << sqlQuoted(name) << ", " << objectId
            << ", NULL, 4, 0, " << sqlQuoted(type) << ", " << sqlQuoted(description)
            << ", '2022-09-12 15:07:06.000', '2022-09-12 15:07:06.000', 1, 0, 0);";
    };
    int objectId = -100;
    for (const OtherObject &object : otherObjects)
        addObject(object.name, objectId -= 7, object.type, object.typeDescription);
    for (LiveTable view : liveViews()) {
        objectId -= 7;
        for (LiveColumn &column : view.columns)
            if (msSqlType(parseDeclaredType(column.type).base).bytesPerCharacter > 0)
                column.expression += " COLLATE NOCASE";
        sql << createViewSql(view, schema);
        addObject(view.name, objectId, view.description == "VIEW" ? "V" : "IF", view.description);
        int columnId = 0;
        for (const LiveColumn &column : view.columns) {
            const DeclaredType declared = parseDeclaredType(column.type);
            const MsSqlType type = msSqlType(declared.base);
            const int maxLength = type.maxLength ? type.maxLength : declared.length * type.bytesPerCharacter;
            const bool text = type.bytesPerCharacter > 0;
            sql << "INSERT INTO " << schema << ".all_columns VALUES (" << objectId << ", " << sqlQuoted(column.name)
                << ", " << ++columnId << ", " << type.id << ", " << type.id << ", " << maxLength << ", "
                << type.precision << ", " << type.scale << ", "
                << (text ? "'Latin1_General_CI_AS_KS_WS'" : "NULL") << ", 1, " << (text ? 1 : 0) << ", 0, 0, 0);";
        }
    }
    // The real server finds these only under sys; SQLite would find them unqualified as well,
    // so a temporary view of the same name, searched first, points at a table that is missing.
    std::vector<std::string> shadowed{"all_objects", "all_columns"};
    for (const LiveTable &view : liveViews())
        shadowed.push_back(view.name);
    for (const std::string &name : shadowed)
        sql << "CREATE TEMP VIEW [" << name << "] AS SELECT * FROM main.[" << name << "];";
    database.executeScript(sql.str());
}

} // namespace simserver::MsSqlCatalogue
