#include "EngineFixture.h"
#include "TestRegistry.h"

#include <QTest>

using namespace EngineFixture;
using simserver::ColumnType;
using simserver::Persona;

// The statements the program sends at Connect, for the catalogue and for a composed sample.
class EngineCatalogueTest : public QObject {
    Q_OBJECT
private slots:
    void probes_data()
    {
        QTest::addColumn<Persona>("persona");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected"); // "column=value" or the error
        QTest::newRow("ase spid") << Persona::Ase << "/**/\nselect @@spid SPID" << "SPID=42";
        QTest::newRow("mssql spid") << Persona::MsSql << "/**/\r\nselect @@spid SPID" << "SPID=42";
        QTest::newRow("ase version number") << Persona::Ase << "/**/\nselect @@version_number VERS" << "VERS=16000";
        QTest::newRow("mssql rejects version number")
            << Persona::MsSql << "/**/\nselect @@version_number VERS"
            << "137 Must declare the scalar variable \"@@version_number\".";
    }
    void probes()
    {
        QFETCH(Persona, persona);
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        Server server(persona);
        const auto outcome = server.single(sql);
        if (outcome.error) {
            QCOMPARE(errorText(outcome), expected);
            return;
        }
        QCOMPARE(outcome.result->rows.size(), 1u);
        QCOMPARE(outcome.result->columns.at(0).type, ColumnType::Integer);
        QCOMPARE(columnNames(*outcome.result).join(',') + "=" + columnValues(*outcome.result, 0).join(','), expected);
    }

    void catalogueStatements_data()
    {
        QTest::addColumn<Persona>("persona");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<QStringList>("firstColumnHolds"); // among the first column's values
        QTest::addColumn<int>("rows");                     // -1: any number
        const Persona ase = Persona::Ase;
        const Persona msSql = Persona::MsSql;
        QTest::newRow("ase tables")
            << ase << "/**/\nselect TableName, Indicators&1 \"Ind\", Description\nfrom master..monTables\norder by 1"
            << QStringList{"TableName", "Ind", "Description"}
            << QStringList{"monState", "monEngine", "monSysWaits", "monProcessActivity", "monDeviceIO",
                           "monDataCache", "monNetworkIO", "monOpenObjectActivity"}
            << -1;
        QTest::newRow("ase table description")
            << ase << "/**/\nselect Description\nfrom master..monTables\nwhere TableName = \"monState\""
            << QStringList{"Description"} << QStringList{} << 1;
        QTest::newRow("ase table without description row")
            << ase << "/**/\nselect Description\nfrom master..monTables\nwhere TableName = \"monNothing\""
            << QStringList{"Description"} << QStringList{} << 0;
        QTest::newRow("ase columns")
            << ase << "/**/\r\nselect ColumnName\r\nfrom master..monTableColumns\r\nwhere TableName = \"monState\"\r\norder by 1"
            << QStringList{"ColumnName"} << QStringList{"Transactions", "Connections", "LockWaits"} << -1;
        QTest::newRow("ase column description")
            << ase
            << "/**/\nselect Description\nfrom master..monTableColumns\nwhere TableName = \"monEngine\"\nand ColumnName = \"CPUTime\""
            << QStringList{"Description"} << QStringList{} << 1;
        QTest::newRow("mssql tables")
            << msSql << "/**/\nselect TableName=name , Description=type_desc\nfrom sys.all_objects\nwhere name like 'dm%'\norder by 1"
            << QStringList{"TableName", "Description"}
            << QStringList{"dm_os_performance_counters", "dm_os_wait_stats", "dm_exec_requests", "dm_exec_sessions",
                           "dm_os_schedulers", "dm_io_virtual_file_stats"}
            << 6;
        QTest::newRow("mssql table description")
            << msSql << "/**/\nselect Description=type_desc\nfrom sys.all_objects\nwhere name = 'dm_os_wait_stats'"
            << QStringList{"Description"} << QStringList{"VIEW"} << 1;
        QTest::newRow("mssql names ignore case")
            << msSql << "/**/\nselect Description=type_desc\nfrom sys.all_objects\nwhere name = 'DM_OS_WAIT_STATS'"
            << QStringList{"Description"} << QStringList{"VIEW"} << 1;
        QTest::newRow("mssql columns")
            << msSql
            << "/**/\nselect a.name as ColumnName\nfrom sys.all_columns a, sys.all_objects b\nwhere a.object_id = "
               "b.object_id\nand b.name = 'dm_os_performance_counters'\norder by 1"
            << QStringList{"ColumnName"}
            << QStringList{"cntr_type", "cntr_value", "counter_name", "instance_name", "object_name"} << 5;
    }
    void catalogueStatements()
    {
        QFETCH(Persona, persona);
        QFETCH(QString, sql);
        QFETCH(QStringList, columns);
        QFETCH(QStringList, firstColumnHolds);
        QFETCH(int, rows);
        Server server(persona);
        const auto outcome = server.single(sql);
        QCOMPARE(errorText(outcome), QString());
        QVERIFY(outcome.result);
        QCOMPARE(columnNames(*outcome.result), columns);
        if (rows >= 0)
            QCOMPARE(int(outcome.result->rows.size()), rows);
        const QStringList values = columnValues(*outcome.result, 0);
        for (const QString &value : firstColumnHolds)
            QVERIFY2(values.contains(value), qPrintable(value));
        for (const QString &value : values)
            QVERIFY2(!value.isEmpty() && value != "NULL", qPrintable(sql));
        if (sql.contains("order by 1")) {
            QStringList sorted = values;
            std::sort(sorted.begin(), sorted.end(),
                      [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
            QCOMPARE(values, sorted);
        }
    }

    // The catalogue describes exactly the columns each live table answers with.
    void catalogueMatchesTables_data()
    {
        QTest::addColumn<Persona>("persona");
        QTest::addColumn<QString>("tables");
        QTest::addColumn<QString>("columns"); // %1: the table
        QTest::addColumn<QString>("contents"); // %1: the table
        QTest::newRow("ase") << Persona::Ase << "select TableName from master..monTables"
                             << "select ColumnName from master..monTableColumns where TableName = '%1' order by ColumnID"
                             << "select * from master..%1";
        QTest::newRow("mssql") << Persona::MsSql << "select name from sys.all_objects where name like 'dm%'"
                               << "select a.name from sys.all_columns a, sys.all_objects b where a.object_id = b.object_id"
                                  " and b.name = '%1' order by a.column_id"
                               << "select * from sys.%1";
    }
    void catalogueMatchesTables()
    {
        QFETCH(Persona, persona);
        QFETCH(QString, tables);
        QFETCH(QString, columns);
        QFETCH(QString, contents);
        Server server(persona);
        const QStringList names = columnValues(*server.single(tables).result, 0);
        QVERIFY(names.size() >= 6);
        for (const QString &name : names) {
            const auto table = server.single(contents.arg(name));
            QVERIFY2(table.result, qPrintable(name + ": " + errorText(table)));
            QVERIFY2(!table.result->rows.empty(), qPrintable(name));
            QCOMPARE(columnNames(*table.result), columnValues(*server.single(columns.arg(name)).result, 0));
        }
    }

    void composedQueries_data()
    {
        QTest::addColumn<Persona>("persona");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("rows");
        const struct {
            const char *name;
            const char *expression;
        } aggregates[] = {{"NA", "CPUTime"},
                          {"AVG", "CPUTime=avg(CPUTime)"},
                          {"MAX", "CPUTime=max(CPUTime)"},
                          {"MIN", "CPUTime=min(CPUTime)"},
                          {"CNT", "CPUTime=count(*)"},
                          {"SUM", "CPUTime=sum(CPUTime)"}};
        for (const auto &aggregate : aggregates) {
            const QString select = QString("/**/\nselect ") + aggregate.expression;
            const int rows = QString(aggregate.name) == "NA" ? 2 : 1;
            QTest::addRow("ase %s", aggregate.name) << Persona::Ase << select + " from master..monEngine " << "CPUTime" << rows;
            QTest::addRow("ase %s filtered", aggregate.name)
                << Persona::Ase << select + " from master..monEngine where EngineNumber = 1" << "CPUTime" << 1;
            QTest::addRow("ase %s plain table", aggregate.name)
                << Persona::Ase << select + " from monEngine " << "CPUTime" << rows;
        }
        QTest::newRow("ase state")
            << Persona::Ase << "/**/\nselect Transactions=avg(Transactions) from master..monState " << "Transactions" << 1;
        QTest::newRow("mssql under sys")
            << Persona::MsSql
            << "/**/\nselect cntr_value=sum(cntr_value) from sys.dm_os_performance_counters where counter_name = 'Batch Requests/sec'"
            << "cntr_value" << 1;
    }
    void composedQueries()
    {
        QFETCH(Persona, persona);
        QFETCH(QString, sql);
        QFETCH(QString, column);
        QFETCH(int, rows);
        Server server(persona);
        const auto outcome = server.single(sql);
        QCOMPARE(errorText(outcome), QString());
        QCOMPARE(columnNames(*outcome.result), QStringList{column});
        QCOMPARE(int(outcome.result->rows.size()), rows);
        QCOMPARE(outcome.result->columns.front().type, ColumnType::Integer);
        for (const QString &value : columnValues(*outcome.result, 0))
            QVERIFY(value.toLongLong() > 0);
    }

    void unknownObjects_data()
    {
        QTest::addColumn<Persona>("persona");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("error");
        const QString seeSpHelp = " not found. Specify owner.objectname or use sp_help to check whether the object "
                                  "exists (sp_help may produce lots of output).";
        QTest::newRow("ase master..") << Persona::Ase << "/**/\nselect Waits from master..monFoo " << "208 master..monFoo" + seeSpHelp;
        QTest::newRow("ase plain") << Persona::Ase << "select * from monFoo" << "208 monFoo" + seeSpHelp;
        QTest::newRow("ase has no sys views") << Persona::Ase << "select name from sys.all_objects" << "208 sys.all_objects" + seeSpHelp;
        QTest::newRow("mssql dm view under master..")
            << Persona::MsSql << "/**/\nselect cntr_value=avg(cntr_value) from master..dm_os_performance_counters "
            << "208 Invalid object name 'master..dm_os_performance_counters'.";
        QTest::newRow("mssql unknown sys view")
            << Persona::MsSql << "select * from sys.dm_nothing" << "208 Invalid object name 'sys.dm_nothing'.";
        QTest::newRow("mssql dm view without sys")
            << Persona::MsSql << "select * from dm_os_wait_stats" << "208 Invalid object name 'dm_os_wait_stats'.";
        QTest::newRow("mssql catalogue without sys")
            << Persona::MsSql << "select name from all_objects" << "208 Invalid object name 'all_objects'.";
        QTest::newRow("mssql has no mon tables")
            << Persona::MsSql << "select * from master..monState" << "208 Invalid object name 'master..monState'.";
        QTest::newRow("unknown column") << Persona::Ase << "select NoSuchColumn from monState" << "207 Invalid column name 'NoSuchColumn'.";
        QTest::newRow("syntax") << Persona::MsSql << "select name frm sys.all_objects" << "102 Incorrect syntax near 'sys'.";
        QTest::newRow("unclosed quote")
            << Persona::MsSql << "select 'abc" << "105 Unclosed quotation mark after the character string 'abc'.";
        QTest::newRow("unknown procedure")
            << Persona::MsSql << "exec sp_nothing 1" << "2812 Could not find stored procedure 'sp_nothing'.";
    }
    void unknownObjects()
    {
        QFETCH(Persona, persona);
        QFETCH(QString, sql);
        QFETCH(QString, error);
        Server server(persona);
        const auto outcome = server.single(sql);
        QCOMPARE(errorText(outcome), error);
        QVERIFY(!outcome.result);
    }

    void countersMove_data()
    {
        QTest::addColumn<Persona>("persona");
        QTest::addColumn<QString>("counter");
        QTest::addColumn<QString>("gauge");
        QTest::newRow("ase") << Persona::Ase << "select Transactions from master..monState"
                             << "select Connections from master..monState";
        QTest::newRow("mssql") << Persona::MsSql
                               << "select cntr_value from sys.dm_os_performance_counters where counter_name = 'Batch Requests/sec'"
                               << "select cntr_value from sys.dm_os_performance_counters where counter_name = 'User Connections'";
    }
    void countersMove()
    {
        QFETCH(Persona, persona);
        QFETCH(QString, counter);
        QFETCH(QString, gauge);
        Server server(persona, true);
        Server twin(persona, true);
        auto value = [](Server &on, const QString &sql) { return columnValues(*on.single(sql).result, 0).at(0).toLongLong(); };
        qint64 previous = value(server, counter);
        QSet<qint64> gaugeValues;
        for (int query = 0; query < 40; ++query) {
            const qint64 next = value(server, counter);
            QVERIFY(next > previous);
            previous = next;
            gaugeValues << value(server, gauge);
        }
        QVERIFY(gaugeValues.size() > 3);
        for (qint64 seen : gaugeValues)
            QVERIFY(seen >= 0);
        // A deterministic clock answers the same sequence every run.
        for (int query = 0; query < 81; ++query)
            value(twin, query % 2 ? gauge : counter);
        QCOMPARE(value(twin, counter), value(server, counter));
    }
};

QUINTARO_TEST(EngineCatalogueTest)
#include "EngineCatalogueTest.moc"
