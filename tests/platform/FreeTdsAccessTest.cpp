#include "DatabaseError.h"
#include "OdbcSandbox.h"
#include "OleDbConnectionString.h"
#include "SimServer.h"
#include "TConnection.h"
#include "TQuery.h"
#include "TestRegistry.h"

#include <QTest>
#include <memory>
#include <optional>

namespace {

// The message of the DatabaseError that `action` raises; empty when it raises none.
template <typename Action>
QString errorOf(Action action)
{
    try {
        action();
    } catch (const DatabaseError &error) {
        return error.message();
    }
    return {};
}

QString firstValue(TConnection &connection, const QString &sql)
{
    TQuery query(connection);
    query.add(sql);
    query.open();
    QString value = query.fieldByName(QStringLiteral("v"));
    while (!query.eof())
        query.next();
    return value;
}

} // namespace

// TConnection and TQuery through FreeTDS to the simulated server, on TDS 5.0 (ASE, the ASE
// provider with host and port) and TDS 7.4 (SQL Server, an ODBC data source).
class FreeTdsAccessTest : public QObject {
    Q_OBJECT

    std::optional<OdbcSandbox> sandbox_;

    // A connection string for `server`, as the program builds it.
    QString connectionString(const SimServer &server, bool tds5, const QString &password)
    {
        const QString quotedPassword = OleDbConnectionString::quoteValue(password);
        if (tds5)
            return QStringLiteral("Provider=ASEOLEDB.1;User ID=sa;Password=%1;Data Source=127.0.0.1:%2;"
                                  "Initial Catalog=master")
                .arg(quotedPassword)
                .arg(server.port());
        const QString dsn = OdbcSandbox::uniqueDsnName(QStringLiteral("Login"));
        sandbox_->addDsn(dsn, server.port(), QStringLiteral("7.4"));
        return QStringLiteral("Provider=MSDASQL.1;User ID=sa;Password=%1;Data Source=%2;Initial Catalog=master")
            .arg(quotedPassword, dsn);
    }

    static void addVersions()
    {
        QTest::addColumn<bool>("tds5");
    }

private slots:
    void initTestCase()
    {
        sandbox_.emplace();
        qunsetenv(OleDbConnectionString::aseDriverVariable);
    }
    void cleanupTestCase() { sandbox_.reset(); }

    // Each password logs in as typed, and only as typed.
    void passwordLogsIn_data()
    {
        QTest::addColumn<bool>("tds5");
        QTest::addColumn<QString>("password");
        const QStringList passwords{QStringLiteral("a}b"),       QStringLiteral("a;b"),
                                    QStringLiteral("p.dsn"),     QStringLiteral("pässwörd€"),
                                    QStringLiteral(" lead"),     QStringLiteral("a}}b{"),
                                    QStringLiteral("{x}}y"),     QStringLiteral("P.DSN;x"),
                                    QStringLiteral("{u.dsn}"),
                                    QStringLiteral("!@#$%^&*()_+-=[]{}|;'"),
                                    QStringLiteral(":\",./<>?\\`~ ")};
        for (const bool tds5 : {true, false})
            for (const QString &password : passwords)
                QTest::addRow("TDS %s, \"%s\"", tds5 ? "5.0" : "7.4", qPrintable(password)) << tds5 << password;
    }
    void passwordLogsIn()
    {
        QFETCH(bool, tds5);
        QFETCH(QString, password);
        SimServer server({tds5 ? SimServer::Persona::Ase : SimServer::Persona::MsSql, password, {}, false});
        QVERIFY(server.start());

        TConnection wrong;
        wrong.setConnectionString(connectionString(server, tds5, password + u'x'));
        const QString refused = errorOf([&wrong] { wrong.open(); });
        QVERIFY2(!refused.isEmpty(), "a wrong password logged in");

        TConnection connection;
        connection.setConnectionString(connectionString(server, tds5, password));
        const QString failure = errorOf([&connection] { connection.open(); });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(firstValue(connection, QStringLiteral("select 1 as v")), QStringLiteral("1"));
    }

    // The catalogue's statements quote names as string literals; on ASE no layer between the
    // program and the server may turn quoted identifiers on.
    void aseReadsDoubleQuotesAsLiterals_data()
    {
        QTest::addColumn<bool>("throughDsn");
        QTest::addColumn<QString>("password");
        for (const bool throughDsn : {false, true})
            for (const QString &password : {QStringLiteral("pw"), QStringLiteral("a\"b")})
                QTest::addRow("%s, \"%s\"", throughDsn ? "data source" : "host and port", qPrintable(password))
                    << throughDsn << password;
    }
    void aseReadsDoubleQuotesAsLiterals()
    {
        QFETCH(bool, throughDsn);
        QFETCH(QString, password);
        SimServer server({SimServer::Persona::Ase, password, {}, false});
        QVERIFY(server.start());
        QString oleDb = connectionString(server, true, password);
        if (throughDsn) {
            const QString dsn = OdbcSandbox::uniqueDsnName(QStringLiteral("Ase"));
            sandbox_->addDsn(dsn, server.port(), QStringLiteral("5.0"));
            oleDb = QStringLiteral("Provider=MSDASQL.1;User ID=sa;Password=%1;Data Source=%2;Initial Catalog=master")
                        .arg(OleDbConnectionString::quoteValue(password), dsn);
        }
        TConnection connection;
        connection.setConnectionString(oleDb);
        const QString failure = errorOf([&connection] { connection.open(); });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QString value;
        const QString error = errorOf([&] { value = firstValue(connection, QStringLiteral("select \"monState\" as v")); });
        QVERIFY2(error.isEmpty(), qPrintable(error + " after " + server.loggedBatches().join(" | ")));
        QCOMPARE(value, QStringLiteral("monState"));
    }

    // A message quoting the connection string never shows the password.
    void messagesMaskThePassword_data()
    {
        QTest::addColumn<QString>("driverVariable");
        QTest::addColumn<QString>("dataSource");
        QTest::addColumn<QString>("expected");
        QTest::newRow("server name holding .dsn")
            << QString() << "old.dsn"
            << "A server, data source or database name may not contain \".dsn\" (Qt would read it as a file "
               "DSN): DRIVER={FreeTDS};TDS_Version=5.0;Servername=old.dsn;ClientCharset=UTF-8;Timeout=60;UID=sa;"
               "PWD=*****;Database=master";
        QTest::newRow("malformed driver variable")
            << "TDS_Version=5.0" << "SYB1"
            << "The ODBC connection string must begin with DRIVER= or DSN=: TDS_Version=5.0;Servername=SYB1;"
               "ClientCharset=UTF-8;Timeout=60;UID=sa;PWD=*****;Database=master";
    }
    void messagesMaskThePassword()
    {
        QFETCH(QString, driverVariable);
        QFETCH(QString, dataSource);
        QFETCH(QString, expected);
        qputenv(OleDbConnectionString::aseDriverVariable, driverVariable.toUtf8());
        qunsetenv("QUINTARO_QUERY_TIMEOUT");
        TConnection connection;
        connection.setConnectionString(
            QStringLiteral("Provider=ASEOLEDB.1;User ID=sa;Password=s3cret;Data Source=%1;Initial Catalog=master")
                .arg(dataSource));
        const QString message = errorOf([&connection] { connection.open(); });
        qunsetenv(OleDbConnectionString::aseDriverVariable);
        QCOMPARE(message, expected);
    }

    // The server's error for a later statement of a batch is raised once the rows before it are
    // read, and the connection serves the next statement.
    void errorAfterFirstResult_data()
    {
        QTest::addColumn<bool>("tds5");
        QTest::newRow("TDS 5.0") << true;
        QTest::newRow("TDS 7.4") << false;
    }
    void errorAfterFirstResult()
    {
        QFETCH(bool, tds5);
        SimServer server({tds5 ? SimServer::Persona::Ase : SimServer::Persona::MsSql, {}, {}, false});
        QVERIFY(server.start());
        TConnection connection;
        connection.setConnectionString(connectionString(server, tds5, QStringLiteral("pw")));
        TQuery query(connection);
        query.add(QStringLiteral("select 5 as v\nselect * from nowhere"));
        query.open();
        QCOMPARE(query.fieldByName(QStringLiteral("v")), QStringLiteral("5"));
        const QString late = errorOf([&query] { query.next(); });
        QVERIFY2(late.contains(QStringLiteral("nowhere")), qPrintable(late));
        QVERIFY(query.eof());

        const QString inExec = errorOf([&query] {
            query.clear();
            query.add(QStringLiteral("select 5 as v\nselect * from nowhere"));
            query.execSQL();
        });
        QVERIFY2(inExec.contains(QStringLiteral("nowhere")), qPrintable(inExec));
        // Further result sets without an error are read past quietly.
        QCOMPARE(firstValue(connection, QStringLiteral("select 6 as v\nselect 7 as w")), QStringLiteral("6"));
    }
};

QUINTARO_TEST(FreeTdsAccessTest)
#include "FreeTdsAccessTest.moc"
