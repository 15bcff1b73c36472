#include "ConnectionSettings.h"
#include "OleDbConnectionString.h"
#include "SampleQuery.h"
#include "TestRegistry.h"

#include <QTest>

class ConnectionSettingsTest : public QObject {
    Q_OBJECT
private slots:
    void connectionStringAsListed_data()
    {
        QTest::addColumn<bool>("odbcDsn");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ODBC DSN") << true
                                  << "Provider=MSDASQL.1;Persist Security Info=False;User ID=sa;Data Source=ASE_PROD;"
                                     "Initial Catalog=master;Password=secret;Database=sales";
        QTest::newRow("OLE DB DSN") << false
                                    << "Provider=ASEOLEDB.1;Persist Security Info=False;User ID=sa;Data Source=ASE_PROD;"
                                       "Initial Catalog=master;Password=secret;Database=sales";
    }
    void connectionStringAsListed()
    {
        QFETCH(bool, odbcDsn);
        QFETCH(QString, expected);
        const ConnectionSettings settings{"ASE_PROD", "sales", "sa", "secret", odbcDsn};
        QCOMPARE(settings.connectionString(), expected);
    }

    // Values that would change the string's meaning if inserted bare read back exactly as typed.
    void awkwardValuesReadBackAsTyped_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("semicolon") << "pa;ss";
        QTest::newRow("equals sign") << "a=b";
        QTest::newRow("double quote") << "say \"hi\"";
        QTest::newRow("both quotes") << "it's \"x\";y";
        QTest::newRow("leading quote") << "'quoted'";
        QTest::newRow("outer blanks") << "  spaced  ";
        QTest::newRow("empty") << "";
        QTest::newRow("plain non-ASCII") << "Zürich";
    }
    void awkwardValuesReadBackAsTyped()
    {
        QFETCH(QString, value);
        const ConnectionSettings settings{value, value, value, value, false};
        const OleDbConnectionString parsed(settings.connectionString());
        QCOMPARE(parsed.value(u"Provider"), QString("ASEOLEDB.1"));
        QCOMPARE(parsed.value(u"Initial Catalog"), QString("master"));
        for (const char *key : {"User ID", "Data Source", "Password", "Database"})
            QCOMPARE(parsed.value(QString::fromLatin1(key)), value);
        QCOMPARE(parsed.pairs().size(), 7);
    }

    void composedQuery_data()
    {
        QTest::addColumn<int>("aggregate");
        QTest::addColumn<QString>("expected");
        QTest::newRow("NA") << 0 << "select LockWaits from master..monState where 1=1";
        QTest::newRow("AVG") << 1 << "select LockWaits=avg(LockWaits) from master..monState where 1=1";
        QTest::newRow("MAX") << 2 << "select LockWaits=max(LockWaits) from master..monState where 1=1";
        QTest::newRow("MIN") << 3 << "select LockWaits=min(LockWaits) from master..monState where 1=1";
        QTest::newRow("CNT") << 4 << "select LockWaits=count(*) from master..monState where 1=1";
        QTest::newRow("SUM") << 5 << "select LockWaits=sum(LockWaits) from master..monState where 1=1";
    }
    void composedQuery()
    {
        QFETCH(int, aggregate);
        QFETCH(QString, expected);
        QCOMPARE(ComposeSampleQuery(aggregate, " LockWaits ", "\tmonState ", "where 1=1"), expected);
    }

    void composedQueryKeepsFilterWhole()
    {
        QCOMPARE(ComposeSampleQuery(0, "Waits", "monSysWaits", ""), QString("select Waits from master..monSysWaits "));
        QCOMPARE(ComposeSampleQuery(0, "Waits", "monSysWaits", " where x=1\norder by 1 "),
                 QString("select Waits from master..monSysWaits  where x=1\norder by 1 "));
    }
};

QUINTARO_TEST(ConnectionSettingsTest)
#include "ConnectionSettingsTest.moc"
