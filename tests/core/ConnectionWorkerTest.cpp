#include "ConnectionSettings.h"
#include "ConnectionWorker.h"
#include "OdbcSandbox.h"
#include "SimServer.h"
#include "TConnection.h"
#include "TQuery.h"
#include "TestRegistry.h"

#include <QTest>
#include <optional>

namespace {

using Deadline = ConnectionWorker::Deadline;
using Reply = ConnectionWorker::Reply<QString>;

// The first column of the first row, read on the worker.
ConnectionWorker::RequestId ask(ConnectionWorker &worker, const QString &statement, QStringList &answers)
{
    return worker.request<QString>(
        Deadline::Query,
        [statement](TConnection &, TQuery &query, QString &value) {
            query.close();
            query.clear();
            query.add(statement);
            query.open();
            value = query.eof() ? QString() : query.fieldByName(QStringLiteral("V"));
            query.close();
        },
        [&answers](const Reply &reply) { answers << (reply.ok() ? reply.value : "error: " + reply.error); });
}

void login(ConnectionWorker &worker, const QString &connectionString, QStringList &answers)
{
    worker.request<bool>(
        Deadline::Login,
        [connectionString](TConnection &connection, TQuery &, bool &) {
            connection.setConnectionString(connectionString);
            connection.open();
        },
        [&answers](const ConnectionWorker::Reply<bool> &reply) {
            answers << (reply.ok() ? QStringLiteral("open") : "error: " + reply.error);
        });
}

} // namespace

// The worker's promises to its owner: answers in order and on the owner's thread, abandoned
// answers never delivered, a fresh thread that reaches the server as the old one did, and a
// dropped link that the next statement opens again.
class ConnectionWorkerTest : public QObject {
    Q_OBJECT

    std::optional<OdbcSandbox> sandbox_;
    std::optional<SimServer> server_;
    QString connectionString_;

private slots:
    void initTestCase()
    {
        sandbox_.emplace();
        server_.emplace();
        QVERIFY(server_->start());
        const QString dsn = OdbcSandbox::uniqueDsnName(QStringLiteral("worker"));
        sandbox_->addDsn(dsn, server_->port(), QStringLiteral("5.0"));
        connectionString_ = ConnectionSettings{dsn, "master", "sa", "", true}.connectionString();
    }

    void cleanupTestCase()
    {
        server_.reset();
        sandbox_.reset();
    }

    void answersInOrderAbandonedOnesDropped()
    {
        ConnectionWorker worker;
        QStringList answers;
        login(worker, connectionString_, answers);
        ask(worker, "select V=1", answers);
        const auto slow = ask(worker, "waitfor delay '00:00:01' select V=2", answers);
        ask(worker, "select V=3", answers);
        QVERIFY(worker.busy());
        QVERIFY(worker.isPending(slow));
        worker.abandon(slow);
        QVERIFY(!worker.isPending(slow));
        QVERIFY(answers.isEmpty()); // nothing is answered before the owner's loop turns
        QTRY_VERIFY_WITH_TIMEOUT(!worker.busy(), 10000);
        QCOMPARE(answers, (QStringList{"open", "1", "3"}));
        QVERIFY(worker.connected());
    }

    void freshThreadKeepsTheConnectionString()
    {
        ConnectionWorker worker;
        QStringList answers;
        login(worker, connectionString_, answers);
        ask(worker, "waitfor delay '00:00:02' select V=1", answers);
        QTRY_COMPARE(answers, QStringList{"open"});
        // Cut loose while its statement runs: that answer never comes.
        worker.startAfresh();
        QVERIFY(!worker.busy());
        QVERIFY(!worker.connected());
        ask(worker, "select V=2", answers); // logs in again with the string it had
        QTRY_VERIFY_WITH_TIMEOUT(!worker.busy(), 10000);
        QTest::qWait(2500);
        QCOMPARE(answers, (QStringList{"open", "2"}));
    }

    void lostLinkIsClosedAndReopenedByTheNextStatement()
    {
        ConnectionWorker worker;
        QStringList answers;
        login(worker, connectionString_, answers);
        ask(worker, "select V=1", answers);
        QTRY_VERIFY(!worker.busy());
        server_->kill();
        QVERIFY(server_->restart());
        ask(worker, "select V=2", answers);
        QTRY_VERIFY(!worker.busy());
        QVERIFY(!worker.connected());
        QVERIFY(worker.lostLink());
        ask(worker, "select V=3", answers);
        QTRY_VERIFY(!worker.busy());
        QCOMPARE(answers.size(), 4);
        QVERIFY2(answers[2].startsWith("error: "), qPrintable(answers[2]));
        QCOMPARE(answers[3], QString("3"));
        QVERIFY(worker.connected());
        QVERIFY(!worker.lostLink());
    }
};

QUINTARO_TEST(ConnectionWorkerTest)
#include "ConnectionWorkerTest.moc"
