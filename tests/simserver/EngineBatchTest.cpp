#include "EngineFixture.h"
#include "TestRegistry.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <thread>

using namespace EngineFixture;
using simserver::Persona;

namespace {
// One letter per statement: R<rows> for a result set, N for none, E for an error; U<db> for use.
QString shape(const simserver::BatchOutcome &outcome)
{
    QStringList parts;
    for (const auto &statement : outcome.statements) {
        if (statement.error)
            parts << "E" + QString::number(statement.error->number);
        else if (statement.newDatabase)
            parts << "U" + QString::fromStdString(*statement.newDatabase);
        else if (statement.result)
            parts << "R" + QString::number(statement.result->rows.size());
        else
            parts << "N";
    }
    return parts.join(' ');
}
} // namespace

// Batches as drivers and users send them: several statements, housekeeping, delays, the log.
class EngineBatchTest : public QObject {
    Q_OBJECT
private slots:
    void batches_data()
    {
        QTest::addColumn<Persona>("persona");
        QTest::addColumn<QString>("batch");
        QTest::addColumn<QString>("shape");
        const Persona ase = Persona::Ase;
        const Persona msSql = Persona::MsSql;
        QTest::newRow("spid then use") << ase << "select @@spid use [sales]" << "R1 Usales";
        QTest::newRow("use bare name") << msSql << "use tempdb" << "Utempdb";
        QTest::newRow("textsize then select") << ase << "set textsize 64512 select 1" << "N R1";
        QTest::newRow("semicolons") << msSql << "select 1; select 2;" << "R1 R1";
        QTest::newRow("union stays one") << msSql << "select 1 union select 2 union all select 3" << "R3";
        QTest::newRow("subquery stays inside") << msSql << "select (select 1) select 2" << "R1 R1";
        QTest::newRow("view takes its select") << msSql << "create view v as select 1 as a select * from v" << "N R1";
        QTest::newRow("update takes its set") << msSql
                                              << "create table u (a int) update u set a = 1 set rowcount 0" << "N N N";
        QTest::newRow("quoted identifier") << msSql << "SET QUOTED_IDENTIFIER ON" << "N";
        QTest::newRow("implicit transactions") << msSql << "set implicit_transactions off" << "N";
        QTest::newRow("transaction") << msSql << "BEGIN TRAN\nCOMMIT\nBEGIN TRANSACTION ROLLBACK" << "N N N N";
        QTest::newRow("guarded commit") << msSql << "IF @@TRANCOUNT > 0 COMMIT" << "N";
        QTest::newRow("guarded select") << ase << "if 1 = 1 select 'a' if 1 = 2 select 'b' select 'c'" << "R1 N R1";
        QTest::newRow("datatype info") << ase << "sp_datatype_info 12" << "R0";
        QTest::newRow("datatype info 100") << msSql << "exec sp_datatype_info_100 -9" << "R0";
        QTest::newRow("short delay") << ase << "waitfor delay '00:00:00.02' select 1" << "N R1";
        QTest::newRow("error stops the batch") << msSql << "select 1 select * from nowhere select 2" << "R1 E208";
        QTest::newRow("bad delay") << msSql << "waitfor delay 'soon'" << "E148";
        QTest::newRow("only a comment") << ase << "/**/" << "";
    }
    void batches()
    {
        QFETCH(Persona, persona);
        QFETCH(QString, batch);
        QFETCH(QString, shape);
        Server server(persona);
        const auto outcome = server.run("/**/\n" + batch);
        QCOMPARE(::shape(outcome), shape);
        QVERIFY(!outcome.cancelled);
    }

    void tranCountFollowsTransactions()
    {
        Server server(Persona::MsSql);
        const auto outcome = server.run("begin tran select @@trancount commit tran select @@trancount");
        QCOMPARE(shape(outcome), "N R1 N R1");
        QCOMPARE(text(outcome.statements[1].result->rows[0][0]) + text(outcome.statements[3].result->rows[0][0]), "10");
    }

    void useChangesTheSessionDatabase()
    {
        Server server(Persona::Ase);
        const auto outcome = server.run("use [pubs2] select db_name()");
        QCOMPARE(server.session->database(), "pubs2");
        QCOMPARE(shape(outcome), "Upubs2 R1");
        QCOMPARE(text(outcome.statements[1].result->rows[0][0]), "pubs2");
    }

    void cancelStopsTheBatch_data()
    {
        QTest::addColumn<QString>("batch");
        QTest::newRow("delay") << "waitfor delay '00:10:00' select 1";
        QTest::newRow("long query")
            << "with recursive n(i) as (select 1 union all select i + 1 from n) select count(*) from n select 1";
    }
    void cancelStopsTheBatch()
    {
        QFETCH(QString, batch);
        Server server(Persona::Ase);
        int polls = 0;
        QElapsedTimer timer;
        timer.start();
        const auto outcome = server.session->execute(batch.toStdString(), [&] { return ++polls > 20; });
        QVERIFY(outcome.cancelled);
        QVERIFY(outcome.statements.empty());
        QVERIFY(timer.elapsed() < 30000);
    }

    // A session waiting in waitfor leaves the database to the others.
    void delayDoesNotBlockOtherSessions()
    {
        Server server(Persona::MsSql);
        std::atomic<bool> stop{false};
        std::atomic<bool> waiting{false};
        simserver::BatchOutcome waited;
        std::thread sleeper([&] {
            auto session = server.engine.openSession(50, "sa", "master");
            waited = session->execute("select 1 waitfor delay '01:00:00'", [&] {
                waiting = true;
                return stop.load();
            });
        });
        while (!waiting)
            std::this_thread::yield();
        const auto outcome = server.run("select name from sys.all_objects");
        stop = true;
        sleeper.join();
        QCOMPARE(shape(outcome).left(1), "R");
        QVERIFY(waited.cancelled);
        QCOMPARE(shape(waited), "R1");
    }

    // Sessions on their own threads share one database and keep their own state.
    void concurrentSessions()
    {
        Server server(Persona::Ase, true);
        std::atomic<int> wrong{0};
        std::vector<std::thread> threads;
        for (int spid = 100; spid < 104; ++spid)
            threads.emplace_back([&, spid] {
                auto session = server.engine.openSession(spid, "sa", "master");
                for (int query = 0; query < 100; ++query) {
                    const auto outcome = session->execute("select @@spid SPID select count(*) from master..monEngine", {});
                    if (shape(outcome) != "R1 R1" || text(outcome.statements[0].result->rows[0][0]) != QString::number(spid)
                        || text(outcome.statements[1].result->rows[0][0]) != "2")
                        ++wrong;
                }
            });
        for (auto &thread : threads)
            thread.join();
        QCOMPARE(wrong.load(), 0);
    }

    // Each batch exactly as received, then a line holding 0x1E, readable while the server runs.
    void logKeepsBatchesVerbatim()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("batches.log");
        Server server(Persona::MsSql, false, path.toStdString());
        const QByteArray first = "/**/\r\nselect @@version_number VERS";
        const QByteArray second = "/**/\nselect TableName=name , Description=type_desc\nfrom sys.all_objects\n";
        server.run(first);
        auto other = server.engine.openSession(7, "sa", "master");
        other->execute(second.toStdString(), {});
        QFile log(path);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll(), first + "\n\x1E\n" + second + "\n\x1E\n");
    }
};

QUINTARO_TEST(EngineBatchTest)
#include "EngineBatchTest.moc"
