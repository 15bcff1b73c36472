#include "DatabaseError.h"
#include "OleDbConnectionString.h"
#include "Regional.h"
#include "TConnection.h"
#include "TQuery.h"
#include "TestRegistry.h"

#include <QFile>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// TConnection and TQuery through Qt's ODBC driver, unixODBC and the SQLite ODBC driver, with a
// private ODBC configuration naming one data source over a temporary SQLite file.
class DatabaseAccessTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString databaseFile;
    std::unique_ptr<TConnection> connection;
    std::unique_ptr<TQuery> query;

    static void write(const QString &path, const QByteArray &text)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    // The string the program builds, the SQLite file given as the database.
    static QString connectionString(const QString &dataSource, const QString &database)
    {
        return QStringLiteral("Provider=MSDASQL.1;Persist Security Info=False;User ID=sa;Data Source=")
               + dataSource + QStringLiteral(";Initial Catalog=master;Password=;Database=")
               + OleDbConnectionString::quoteValue(database);
    }

    static void start(TQuery &q, const QString &sql)
    {
        q.close();
        q.clear();
        q.add(QStringLiteral("/**/"));
        q.add(sql);
    }

    // The whole calling pattern; each row its values in column order.
    QList<QStringList> rows(const QString &sql)
    {
        start(*query, sql);
        query->open();
        QStringList names;
        query->getFieldNames(names);
        QList<QStringList> result;
        while (!query->eof()) {
            QStringList row;
            for (const QString &name : names)
                row << query->fieldByName(name);
            result << row;
            query->next();
        }
        query->close();
        return result;
    }

    QStringList fieldNames(const QString &sql)
    {
        start(*query, sql);
        query->open();
        QStringList names;
        query->getFieldNames(names);
        query->close();
        return names;
    }

    void execute(const QString &sql)
    {
        start(*query, sql);
        query->execSQL();
    }

    // The message of the DatabaseError that `action` raises; empty when it raises none.
    template <typename Action>
    static QString errorOf(Action action)
    {
        try {
            action();
        } catch (const DatabaseError &error) {
            return error.message();
        }
        return {};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        databaseFile = dir.filePath(QStringLiteral("monitor.db"));
        write(dir.filePath(QStringLiteral("odbcinst.ini")),
              "[SQLite3]\nDriver=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so\n");
        write(dir.filePath(QStringLiteral("odbc.ini")),
              "[quintaro_test]\nDriver=SQLite3\nDatabase=" + QFile::encodeName(databaseFile) + "\n");
        qputenv("ODBCSYSINI", QFile::encodeName(dir.path()));
        qputenv("ODBCINI", QFile::encodeName(dir.filePath(QStringLiteral("odbc.ini"))));

        connection = std::make_unique<TConnection>();
        query = std::make_unique<TQuery>(*connection);
        connection->setConnectionString(connectionString(QStringLiteral("quintaro_test"), databaseFile));
        connection->open();
        execute(QStringLiteral("create table sample(k text, i bigint, r double, s varchar(40), "
                               "b blob, d timestamp)"));
        execute(QStringLiteral("insert into sample values ('null', null, null, null, null, null)"));
        execute(QStringLiteral("insert into sample values ('set', 9007199254740993, 0.1, "
                               "'Grüße € ''x''', x'00ff10', '2024-02-29 13:04:05')"));
        execute(QStringLiteral("insert into sample values ('other', -42, 1e20, '', x'', "
                               "'2023-12-31 23:59:59')"));
    }

    void cleanupTestCase()
    {
        query.reset();
        connection.reset();
        qunsetenv("ODBCSYSINI");
        qunsetenv("ODBCINI");
    }

    void columnNames_data()
    {
        QTest::addColumn<QString>("columns");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("named") << "1 as SPID, 2 as VERS" << QStringList{"SPID", "VERS"};
        QTest::newRow("unnamed") << "1 as \"\", 2 as \"\"" << QStringList{"COLUMN1", "COLUMN2"};
        QTest::newRow("COLUMN1 taken by a real column")
            << "1 as COLUMN1, 2 as \"\"" << QStringList{"COLUMN1", "COLUMN2"};
        QTest::newRow("real column after a given name")
            << "1 as \"\", 2 as COLUMN1" << QStringList{"COLUMN1", "COLUMN1_1"};
        QTest::newRow("duplicates, letter case ignored")
            << "1 as a, 2 as a, 3 as A" << QStringList{"a", "a_1", "A_2"};
        QTest::newRow("suffix already taken")
            << "1 as a, 2 as a_1, 3 as a" << QStringList{"a", "a_1", "a_2"};
    }
    void columnNames()
    {
        QFETCH(QString, columns);
        QFETCH(QStringList, expected);
        QCOMPARE(fieldNames(QStringLiteral("select ") + columns), expected);
    }

    void valueText_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("null integer") << "i" << "null" << "";
        QTest::newRow("null real") << "r" << "null" << "";
        QTest::newRow("null text") << "s" << "null" << "";
        QTest::newRow("null binary") << "b" << "null" << "";
        QTest::newRow("null date-time") << "d" << "null" << "";
        QTest::newRow("big integer exact") << "i" << "set" << "9007199254740993";
        QTest::newRow("negative integer") << "i" << "other" << "-42";
        QTest::newRow("real, regional point") << "r" << "set" << "0,1";
        QTest::newRow("large real") << "r" << "other" << "1e+20";
        QTest::newRow("non-ASCII text") << "s" << "set" << "Grüße € 'x'";
        QTest::newRow("empty text") << "s" << "other" << "";
        QTest::newRow("binary") << "b" << "set" << "0x00FF10";
        QTest::newRow("date-time, regional format") << "d" << "set" << "29-02-2024 13.04.05";
    }
    void valueText()
    {
        QFETCH(QString, column);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const Regional saved = Regional::current();
        Regional::setCurrent(Regional(u'-', u'.', QStringLiteral("HH.mm.ss"), u','));
        const auto found = rows(QStringLiteral("select ") + column
                                + QStringLiteral(" from sample where k = '") + key + u'\'');
        Regional::setCurrent(saved);
        QCOMPARE(found, QList<QStringList>{{expected}});
    }

    void rowsReadInOrderUntilEof()
    {
        start(*query, QStringLiteral("select k, i from sample order by i"));
        query->open();
        QStringList keys;
        while (!query->eof()) {
            keys << query->fieldByName(QStringLiteral("K")); // names match in any letter case
            query->next();
        }
        QCOMPARE(keys, (QStringList{"null", "other", "set"}));
        query->next(); // past the end stays at the end
        QVERIFY(query->eof());
        QCOMPARE(query->fieldByName(QStringLiteral("k")), QString());
        query->close();
    }

    void emptyResultIsEofAtOnce()
    {
        QCOMPARE(rows(QStringLiteral("select k from sample where 1 = 0")), QList<QStringList>());
    }

    void unknownFieldRaises()
    {
        start(*query, QStringLiteral("select k from sample"));
        query->open();
        QCOMPARE(errorOf([this] { query->fieldByName(QStringLiteral("nope")); }),
                 QStringLiteral("Field 'nope' not found"));
        query->close();
    }

    void statementWithoutResultSetRaisesOnOpen()
    {
        const QString message = errorOf([this] {
            rows(QStringLiteral("update sample set k = k where 1 = 0"));
        });
        QCOMPARE(message, QStringLiteral("The statement returned no result set"));
    }

    void serverErrorCarriesDriverText()
    {
        const QString onOpen = errorOf([this] { rows(QStringLiteral("select * from nowhere")); });
        QVERIFY2(onOpen.contains(QStringLiteral("no such table: nowhere")), qPrintable(onOpen));
        QVERIFY2(!onOpen.contains(QStringLiteral("QODBC")), qPrintable(onOpen));
        const QString onExec = errorOf([this] { execute(QStringLiteral("drop table nowhere")); });
        QVERIFY2(onExec.contains(QStringLiteral("no such table: nowhere")), qPrintable(onExec));
    }

    void nextUseAfterErrorStartsClean()
    {
        QVERIFY(!errorOf([this] { rows(QStringLiteral("select broken(")); }).isEmpty());
        QCOMPARE(rows(QStringLiteral("select 7 as n")), QList<QStringList>{{"7"}});
        QVERIFY(!errorOf([this] { execute(QStringLiteral("insert into nowhere values (1)")); }).isEmpty());
        QCOMPARE(fieldNames(QStringLiteral("select k from sample")), QStringList{"k"});
    }

    void openOnClosedConnectionOpensIt()
    {
        connection->close();
        connection->close(); // harmless when closed
        QVERIFY(!connection->connected());
        QCOMPARE(rows(QStringLiteral("select count(*) as n from sample")), QList<QStringList>{{"3"}});
        QVERIFY(connection->connected());
    }

    void awkwardDatabaseNameReachesDriver_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("equals, quotes, blanks") << "a=b \"c' d.db";
        // Qt's ODBC driver takes a string holding these words as complete and adds no "DSN=".
        QTest::newRow("words Qt looks for") << "driver=x server=y.db";
    }
    void awkwardDatabaseNameReachesDriver()
    {
        QFETCH(QString, fileName);
        const QString file = dir.filePath(fileName);
        TConnection other;
        other.setConnectionString(connectionString(QStringLiteral("quintaro_test"), file));
        other.open();
        TQuery statement(other);
        statement.add(QStringLiteral("create table marker(a)"));
        statement.execSQL();
        QVERIFY(QFile::exists(file));
    }

    void fileDsnLookalikeIsRefused()
    {
        TConnection other;
        other.setConnectionString(connectionString(QStringLiteral("old.dsn"), QString()));
        const QString message = errorOf([&other] { other.open(); });
        QVERIFY2(message.contains(QStringLiteral(".dsn")), qPrintable(message));
    }

    void unknownDataSourceFailsWithDriverText()
    {
        TConnection other;
        other.setConnectionString(connectionString(QStringLiteral("no_such_dsn"), QString()));
        const QString message = errorOf([&other] { other.open(); });
        QCOMPARE(message, QStringLiteral("[unixODBC][Driver Manager]Data source name not found "
                                         "and no default driver specified"));
        QVERIFY(!other.connected());
    }

    void eachConnectionHasItsOwnQtConnection()
    {
        const qsizetype before = QSqlDatabase::connectionNames().size();
        {
            TConnection first;
            TConnection second;
            QCOMPARE(QSqlDatabase::connectionNames().size(), before + 2);
            QVERIFY(first.database().connectionName() != second.database().connectionName());
        }
        QCOMPARE(QSqlDatabase::connectionNames().size(), before);
    }

    void unknownProviderFails()
    {
        TConnection other;
        other.setConnectionString(QStringLiteral("Provider=SQLOLEDB.1;Data Source=x"));
        const QString message = errorOf([&other] { other.open(); });
        QVERIFY2(message.contains(QStringLiteral("SQLOLEDB.1")), qPrintable(message));
        QVERIFY(!other.connected());
    }
};

QUINTARO_TEST(DatabaseAccessTest)
#include "DatabaseAccessTest.moc"
