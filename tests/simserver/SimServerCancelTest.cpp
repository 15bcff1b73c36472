#include "OdbcSandbox.h"
#include "SimServer.h"
#include "TestRegistry.h"

#include <QElapsedTimer>
#include <QTest>
#include <atomic>
#include <sql.h>
#include <sqlext.h>
#include <thread>

namespace {
// Drives FreeTDS's driver through the ODBC C API, where SQLCancel from a second thread makes
// the driver send a real ATTENTION while SQLExecDirect waits for the server.
class OdbcConnection {
public:
    OdbcConnection()
    {
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment_);
        SQLSetEnvAttr(environment_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, environment_, &connection_);
    }
    ~OdbcConnection()
    {
        if (statement_)
            SQLFreeHandle(SQL_HANDLE_STMT, statement_);
        SQLDisconnect(connection_);
        SQLFreeHandle(SQL_HANDLE_DBC, connection_);
        SQLFreeHandle(SQL_HANDLE_ENV, environment_);
    }

    bool connect(const QByteArray &connectionString)
    {
        const SQLRETURN rc = SQLDriverConnect(connection_, nullptr, sqlText(connectionString), SQL_NTS, nullptr, 0,
                                              nullptr, SQL_DRIVER_NOPROMPT);
        return SQL_SUCCEEDED(rc) && SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connection_, &statement_));
    }
    SQLRETURN execute(const QByteArray &sql) { return SQLExecDirect(statement_, sqlText(sql), SQL_NTS); }
    SQLRETURN cancel() { return SQLCancel(statement_); }
    void closeCursor() { SQLFreeStmt(statement_, SQL_CLOSE); }

    QByteArray sqlState() const
    {
        SQLCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        SQLGetDiagRec(SQL_HANDLE_STMT, statement_, 1, state, &native, nullptr, 0, &length);
        return QByteArray(reinterpret_cast<const char *>(state));
    }

    std::optional<long> fetchInteger()
    {
        if (!SQL_SUCCEEDED(SQLFetch(statement_)))
            return std::nullopt;
        SQLINTEGER value = 0;
        SQLLEN indicator = 0;
        if (!SQL_SUCCEEDED(SQLGetData(statement_, 1, SQL_C_SLONG, &value, 0, &indicator)))
            return std::nullopt;
        return value;
    }

private:
    static SQLCHAR *sqlText(const QByteArray &text)
    {
        return reinterpret_cast<SQLCHAR *>(const_cast<char *>(text.constData()));
    }

    SQLHENV environment_ = SQL_NULL_HENV;
    SQLHDBC connection_ = SQL_NULL_HDBC;
    SQLHSTMT statement_ = SQL_NULL_HSTMT;
};
} // namespace

class SimServerCancelTest : public QObject {
    Q_OBJECT
private slots:
    void cancelStopsWaitfor_data()
    {
        QTest::addColumn<QString>("version");
        QTest::newRow("7.4") << QStringLiteral("7.4");
        QTest::newRow("5.0") << QStringLiteral("5.0");
    }

    void cancelStopsWaitfor()
    {
        QFETCH(QString, version);
        SimServer server;
        QVERIFY(server.start());
        OdbcSandbox sandbox;
        sandbox.addFreeTdsServer(QStringLiteral("simtds"), server.port(), version);
        OdbcConnection odbc;
        QVERIFY(odbc.connect(QByteArrayLiteral("DRIVER=FreeTDS;Servername=simtds;UID=sa;PWD=;")));

        const QByteArray wait = QByteArrayLiteral("waitfor delay '00:00:30'");
        std::atomic<SQLRETURN> waitResult = SQL_SUCCESS;
        std::atomic<bool> waitEnded = false;
        std::thread waiter([&] {
            waitResult = odbc.execute(wait);
            waitEnded = true;
        });
        // Cancel only once the server is running the wait, so the ATTENTION meets a busy batch.
        QTRY_VERIFY_WITH_TIMEOUT(server.loggedBatches().contains(QString::fromLatin1(wait)) || waitEnded, 10000);
        QElapsedTimer sinceCancel;
        sinceCancel.start();
        odbc.cancel();
        waiter.join();

        QCOMPARE(waitResult.load(), SQLRETURN(SQL_ERROR));
        QCOMPARE(odbc.sqlState(), QByteArrayLiteral("HY008"));
        // Not a speed check: without the server's help the wait would take its full 30 s.
        QVERIFY2(sinceCancel.elapsed() < 15000, "the cancel waited for the statement to finish");

        odbc.closeCursor();
        QVERIFY(SQL_SUCCEEDED(odbc.execute(QByteArrayLiteral("select @@spid SPID"))));
        QCOMPARE(odbc.fetchInteger(), std::optional<long>(51));
    }
};

QUINTARO_TEST(SimServerCancelTest)
#include "SimServerCancelTest.moc"
