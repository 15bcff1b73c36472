#include "OdbcSandbox.h"
#include "SimServer.h"
#include "TestRegistry.h"

#include <QElapsedTimer>
#include <QTest>
#include <atomic>
#include <iterator>
#include <optional>
#include <sql.h>
#include <sqlext.h>
#include <thread>

namespace {
// Drives FreeTDS's driver through the ODBC C API: SQLCancel from a second thread makes the
// driver send a real ATTENTION while SQLExecDirect waits, and SQLGetData reads long text in
// pieces the way applications other than QODBC do.
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

    bool setAutocommit(bool on)
    {
        return SQL_SUCCEEDED(SQLSetConnectAttr(connection_, SQL_ATTR_AUTOCOMMIT,
                                               reinterpret_cast<SQLPOINTER>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF), 0));
    }
    bool commit() { return SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, connection_, SQL_COMMIT)); }

    QByteArray currentCatalog()
    {
        char name[128] = {};
        SQLINTEGER length = 0;
        SQLGetConnectAttr(connection_, SQL_ATTR_CURRENT_CATALOG, name, sizeof name, &length);
        return QByteArray(name);
    }

    // Prepares `sql` with one integer parameter and runs it.
    SQLRETURN executeWithParameter(const QByteArray &sql, SQLINTEGER &value)
    {
        SQLPrepare(statement_, sqlText(sql), SQL_NTS);
        SQLBindParameter(statement_, 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, &value, 0, nullptr);
        return SQLExecute(statement_);
    }

    // The first column as UTF-16, read in small pieces; nullopt for NULL or failure.
    std::optional<QString> fetchText()
    {
        if (!SQL_SUCCEEDED(SQLFetch(statement_)))
            return std::nullopt;
        QString text;
        for (;;) {
            char16_t piece[257];
            SQLLEN indicator = 0;
            const SQLRETURN rc = SQLGetData(statement_, 1, SQL_C_WCHAR, piece, sizeof piece, &indicator);
            if (rc == SQL_NO_DATA)
                return text;
            if (!SQL_SUCCEEDED(rc) || indicator == SQL_NULL_DATA)
                return std::nullopt;
            const bool more = rc == SQL_SUCCESS_WITH_INFO;
            const qsizetype units = more ? qsizetype(std::size(piece) - 1) : qsizetype(indicator / 2);
            text += QStringView(piece, units).toString();
            if (!more)
                return text;
        }
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

// A simulated server of its own, reached through a freetds.conf entry over one TDS version.
struct ServerSession {
    bool open(const QString &version)
    {
        if (!server.start())
            return false;
        sandbox.addFreeTdsServer(QStringLiteral("simtds"), server.port(), version);
        return odbc.connect(QByteArrayLiteral("DRIVER=FreeTDS;Servername=simtds;UID=sa;PWD=;"));
    }
    SimServer server;
    OdbcSandbox sandbox;
    OdbcConnection odbc; // closed before the server stops
};
} // namespace

class SimServerOdbcApiTest : public QObject {
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
        ServerSession session;
        QVERIFY(session.open(version));
        OdbcConnection &odbc = session.odbc;

        const QByteArray wait = QByteArrayLiteral("waitfor delay '00:00:30'");
        std::atomic<SQLRETURN> waitResult = SQL_SUCCESS;
        std::atomic<bool> waitEnded = false;
        std::thread waiter([&] {
            waitResult = odbc.execute(wait);
            waitEnded = true;
        });
        // Cancel only once the server is running the wait, so the ATTENTION meets a busy batch.
        QTRY_VERIFY_WITH_TIMEOUT(session.server.loggedBatches().contains(QString::fromLatin1(wait)) || waitEnded, 10000);
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

    // What the driver sends besides batches: transaction-manager requests (7.4) or transaction
    // text (5.0) for autocommit and commit, an RPC (7.4) or parameters substituted into text
    // (5.0) for a bound parameter. Each is answered and the connection stays usable.
    void housekeeping_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("parametersWork");
        QTest::newRow("7.4") << QStringLiteral("7.4") << false;
        QTest::newRow("5.0") << QStringLiteral("5.0") << true;
    }

    void housekeeping()
    {
        QFETCH(QString, version);
        QFETCH(bool, parametersWork);
        ServerSession session;
        QVERIFY(session.open(version));
        OdbcConnection &odbc = session.odbc;

        QVERIFY(odbc.setAutocommit(false));
        QVERIFY(SQL_SUCCEEDED(odbc.execute(QByteArrayLiteral("select @@spid SPID"))));
        QCOMPARE(odbc.fetchInteger(), std::optional<long>(51));
        odbc.closeCursor();
        QVERIFY(odbc.commit());
        QVERIFY(odbc.setAutocommit(true));

        // The server reports the new database and the driver takes it up.
        QVERIFY(odbc.execute(QByteArrayLiteral("use tempdb")) != SQL_ERROR);
        QCOMPARE(odbc.currentCatalog(), QByteArrayLiteral("tempdb"));
        odbc.closeCursor();

        SQLINTEGER value = 7;
        const SQLRETURN withParameter = odbc.executeWithParameter(QByteArrayLiteral("select Value=?"), value);
        if (parametersWork) {
            QVERIFY(SQL_SUCCEEDED(withParameter));
            QCOMPARE(odbc.fetchInteger(), std::optional<long>(7));
        } else {
            QCOMPARE(withParameter, SQLRETURN(SQL_ERROR));
        }
        odbc.closeCursor();
        QVERIFY(SQL_SUCCEEDED(odbc.execute(QByteArrayLiteral("select @@spid SPID"))));
        QCOMPARE(odbc.fetchInteger(), std::optional<long>(51));
    }

    // TDS 7.4 sends text beyond nvarchar(4000) as nvarchar(max), in PLP chunks.
    void longTextInPieces_data()
    {
        QTest::addColumn<QString>("version");
        QTest::newRow("7.4") << QStringLiteral("7.4");
        QTest::newRow("5.0") << QStringLiteral("5.0");
    }

    void longTextInPieces()
    {
        QFETCH(QString, version);
        ServerSession session;
        QVERIFY(session.open(version));
        OdbcConnection &odbc = session.odbc;

        const QString text = QString(4500, QChar(0xE9)) + QStringLiteral("☃");
        QVERIFY(SQL_SUCCEEDED(odbc.execute(QStringLiteral("select Long='%1'").arg(text).toUtf8())));
        QCOMPARE(odbc.fetchText(), std::optional<QString>(text));
    }
};

QUINTARO_TEST(SimServerOdbcApiTest)
#include "SimServerOdbcApiTest.moc"
