#include "EngineFixture.h"
#include "TestRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

using namespace EngineFixture;
using simserver::ColumnType;
using simserver::Persona;

namespace {
QString typeLetters(const simserver::ResultSet &result)
{
    QString letters;
    for (const auto &column : result.columns)
        letters += column.type == ColumnType::Integer ? 'I' : column.type == ColumnType::Float ? 'F' : 'T';
    return letters;
}
} // namespace

// How single statements in T-SQL forms come back: names, values and types of their columns.
class EngineStatementTest : public QObject {
    Q_OBJECT
private slots:
    void selectForms_data()
    {
        QTest::addColumn<Persona>("persona");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<QStringList>("firstRow");
        QTest::addColumn<QString>("types");
        const Persona ase = Persona::Ase;
        const Persona msSql = Persona::MsSql;
        QTest::newRow("unnamed literal") << msSql << "select 'test'" << QStringList{""} << QStringList{"test"} << "T";
        QTest::newRow("unnamed aggregate")
            << ase << "select count(*) from master..monEngine" << QStringList{""} << QStringList{"2"} << "I";
        QTest::newRow("alias forms") << msSql << "select 1 as a, 2 b, c = 3, [d e] = 4.5, 5 [f]]\"g]"
                                     << QStringList{"a", "b", "c", "d e", "f]\"g"} << QStringList{"1", "2", "3", "4.5", "5"}
                                     << "IIIFI";
        QTest::newRow("ase double quotes: alias and string")
            << ase << "select \"x\" \"Quoted\", Ind = \"y\" where \"a\" = \"a\"" << QStringList{"Quoted", "Ind"}
            << QStringList{"x", "y"} << "TT";
        QTest::newRow("qualified column keeps its name")
            << msSql << "select a.name from sys.all_objects a where a.name = 'dm_os_wait_stats'" << QStringList{"name"}
            << QStringList{"dm_os_wait_stats"} << "T";
        QTest::newRow("null then value decides type")
            << msSql << "select v from (select null as v union all select 7) order by v" << QStringList{"v"}
            << QStringList{"NULL"} << "I";
        QTest::newRow("integer average stays integer")
            << msSql << "select m = avg(v) from (select 1 as v union all select 2)" << QStringList{"m"} << QStringList{"1"} << "I";
        QTest::newRow("float average") << msSql << "select m = avg(v) from (select 1.0 as v union all select 2)"
                                       << QStringList{"m"} << QStringList{"1.5"} << "F";
        QTest::newRow("subquery items")
            << ase << "select Engines = (select count(*) from monEngine), (select max(EngineNumber) from monEngine)"
            << QStringList{"Engines", ""} << QStringList{"2", "1"} << "II";
        QTest::newRow("globals") << msSql << "select @@spid, @@trancount, @@servername" << QStringList{"", "", ""}
                                 << QStringList{"42", "0", "SIMSERVER"} << "IIT";
        QTest::newRow("top in a subquery")
            << msSql << "select c = count(*) from (select top 2 name from sys.all_objects order by name)"
            << QStringList{"c"} << QStringList{"2"} << "I";
        QTest::newRow("top in parentheses") << msSql << "select top (1) name from sys.all_objects where name like 'dm%' order by name"
                                            << QStringList{"name"} << QStringList{"dm_exec_requests"} << "T";
        QTest::newRow("three-part name") << ase << "select c = count(*) from master.dbo.monEngine" << QStringList{"c"}
                                         << QStringList{"2"} << "I";
        QTest::newRow("session functions") << ase << "select db_name(), suser_name()" << QStringList{"", ""}
                                           << QStringList{"master", "sa"} << "TT";
        QTest::newRow("signed exponent") << msSql << "select x = 25e-1 * 2" << QStringList{"x"} << QStringList{"5"} << "F";
        QTest::newRow("t-sql functions") << msSql << "select isnull(null, 'x'), len('ab  ')" << QStringList{"", ""}
                                         << QStringList{"x", "2"} << "TI";
    }
    void selectForms()
    {
        QFETCH(Persona, persona);
        QFETCH(QString, sql);
        QFETCH(QStringList, columns);
        QFETCH(QStringList, firstRow);
        QFETCH(QString, types);
        Server server(persona);
        const auto outcome = server.single("/**/\n" + sql);
        QCOMPARE(errorText(outcome), QString());
        QCOMPARE(columnNames(*outcome.result), columns);
        QStringList row;
        for (int column = 0; column < columns.size(); ++column)
            row << columnValues(*outcome.result, column).value(0);
        QCOMPARE(row, firstRow);
        QCOMPARE(typeLetters(*outcome.result), types);
    }

    // "x" is a string while quoted_identifier is off (ASE's default), a name while it is on.
    void quotedIdentifier_data()
    {
        QTest::addColumn<Persona>("persona");
        QTest::addColumn<QString>("batch");
        QTest::addColumn<QString>("value");
        const QString select = "select \"x\" from (select 'column' as x)";
        QTest::newRow("ase default") << Persona::Ase << select << "x";
        QTest::newRow("ase on") << Persona::Ase << "set quoted_identifier on " + select << "column";
        QTest::newRow("mssql default") << Persona::MsSql << select << "column";
        QTest::newRow("mssql off") << Persona::MsSql << "SET QUOTED_IDENTIFIER OFF " + select << "x";
    }
    void quotedIdentifier()
    {
        QFETCH(Persona, persona);
        QFETCH(QString, batch);
        QFETCH(QString, value);
        Server server(persona);
        const auto outcome = server.run(batch);
        QCOMPARE(columnValues(*outcome.statements.back().result, 0), QStringList{value});
    }

    void versionNamesThePersona_data()
    {
        QTest::addColumn<Persona>("persona");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("ase") << Persona::Ase << "Adaptive Server Enterprise/16.0";
        QTest::newRow("mssql") << Persona::MsSql << "Microsoft SQL Server 2019";
    }
    void versionNamesThePersona()
    {
        QFETCH(Persona, persona);
        QFETCH(QString, prefix);
        Server server(persona);
        const auto outcome = server.single("select @@version");
        QVERIFY(columnValues(*outcome.result, 0).at(0).startsWith(prefix));
    }

    // Tables are shared by every session; an empty result still names its columns and their
    // declared types; statements without a result set report the rows they touched.
    void sharedTablesAndRowCounts()
    {
        Server server(Persona::MsSql);
        auto other = server.engine.openSession(43, "sa", "master");
        const auto changes = server.run("create table t (i int, r real, s varchar(10)) insert into t values (1, 1.5, 'a') "
                                        "insert into t select i + 1, r, s from t update t set s = 'b'");
        QCOMPARE(changes.statements.size(), 4u);
        QList<qint64> counts;
        for (const auto &statement : changes.statements) {
            QVERIFY(!statement.result && !statement.error);
            counts << statement.rowCount;
        }
        QCOMPARE(counts, (QList<qint64>{0, 1, 1, 2}));
        const auto seen = other->execute("select s, count(*) n from t group by s", {});
        QCOMPARE(columnValues(*seen.statements.at(0).result, 1), QStringList{"2"});
        const auto empty = other->execute("select * from t where i > 5", {}).statements.at(0);
        QVERIFY(empty.result);
        QCOMPARE(columnNames(*empty.result), (QStringList{"i", "r", "s"}));
        QCOMPARE(empty.result->rows.size(), 0u);
        QCOMPARE(typeLetters(*empty.result), "IFT");
    }

    void databaseFileKeepsTables()
    {
        const QString path = QDir::temp().filePath(QString("simserver-%1.db").arg(QCoreApplication::applicationPid()));
        QFile::remove(path);
        {
            simserver::Engine engine({Persona::Ase, path.toStdString(), {}, false});
            engine.openSession(1, "sa", "master")->execute("create table kept (v int) insert into kept values (5)", {});
        }
        simserver::Engine engine({Persona::Ase, path.toStdString(), {}, false});
        const auto outcome = engine.openSession(1, "sa", "master")->execute("select v from master..kept", {});
        QFile::remove(path);
        QCOMPARE(columnValues(*outcome.statements.at(0).result, 0), QStringList{"5"});
    }
};

QUINTARO_TEST(EngineStatementTest)
#include "EngineStatementTest.moc"
