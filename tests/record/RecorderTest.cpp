#include "ContextUnderTest.h"
#include "OdbcSandbox.h"
#include "PerformanceDataLoader.h"
#include "RecorderProcess.h"
#include "Regional.h"
#include "SampledServer.h"
#include "TestRegistry.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <memory>

namespace {

const QString statement = QStringLiteral("select Transactions from master..monState");

QString section(const QString &name, const QString &dsn, const QString &more = {})
{
    return QStringLiteral("[%1]\nServer=%2\nProvider=ODBC\nUser=sa\nPasswordFile=pw\nDatabase=master\n"
                          "Statement=%3\nInterval=1\nDataFile=%1.csv\n%4\n")
        .arg(name, dsn, statement, more);
}

// Waits until the file holds more data lines than `than`; a stop right after a new line
// comes with no sample out, so every sample the server answered is in the file.
[[nodiscard]] bool waitForLines(RecorderProcess &recorder, const QString &file, qsizetype than)
{
    QElapsedTimer clock;
    clock.start();
    while (recorder.fileLines(file).size() <= than) {
        if (clock.elapsed() > 15000)
            return false;
        QTest::qWait(20);
    }
    return true;
}

} // namespace

class RecorderTest : public QObject {
    Q_OBJECT

    std::unique_ptr<OdbcSandbox> sandbox_;

private slots:
    void initTestCase()
    {
        sandbox_ = std::make_unique<OdbcSandbox>();
        QVERIFY2(QFile::exists(RecorderProcess::executable()), qPrintable(RecorderProcess::executable()));
    }

    void cleanupTestCase() { sandbox_.reset(); }

    // Two runs into the same files: one header, every answered sample once, in order, in the
    // window's format, and the window's Load reads them all.
    void writesTheWindowsFilesAndResumesAfterRestart()
    {
        SampledServer server(*sandbox_);
        QVERIFY(server.server.isRunning());
        RecorderProcess recorder;
        recorder.writeConfig(section(QStringLiteral("tx"), server.dsn, QStringLiteral("RawFile=tx.raw\nDelimiter=;")));
        qsizetype lines = 0;
        for (int run = 0; run < 2; ++run) {
            QVERIFY(recorder.start());
            QVERIFY2(waitForLines(recorder, QStringLiteral("tx.csv"), lines + 2), qPrintable(recorder.log()));
            QVERIFY2(recorder.terminate(2000), qPrintable(recorder.log()));
            QCOMPARE(recorder.exitCode(), 0);
            QCOMPARE(recorder.logLines(QStringLiteral("[tx] connected to ") + server.dsn), 1);
            lines = recorder.fileLines(QStringLiteral("tx.csv")).size();
        }

        QFile file(recorder.path(QStringLiteral("tx.csv")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("Date,Transactions\r\n"));
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
        QCOMPARE(bytes.count("Date,"), 1);
        const QStringList pairs = recorder.fileLines(QStringLiteral("tx.csv"));
        QCOMPARE(pairs.size(), server.server.loggedBatches().count(QStringLiteral("/**/\n") + statement));

        const Regional regional(u'/', u':', QStringLiteral("HH:mm:ss"), u'.');
        Regional::setCurrent(regional);
        QDateTime previous;
        for (const QString &pair : pairs) {
            const std::optional<QDateTime> time = regional.parseTimeLine(pair.section(u',', 0, 0));
            QVERIFY2(time, qPrintable(pair));
            QVERIFY2(!previous.isValid() || *time >= previous, qPrintable(pair));
            previous = *time;
            QVERIFY2(regional.parseNumber(pair.section(u',', 1)), qPrintable(pair));
        }

        // Raw rows: the column names once, then each sample's row with its time.
        const QStringList raw = recorder.fileLines(QStringLiteral("tx.raw"));
        QFile rawFile(recorder.path(QStringLiteral("tx.raw")));
        QVERIFY(rawFile.open(QIODevice::ReadOnly));
        QVERIFY(rawFile.readLine() == "Transactions;Time\r\n");
        QCOMPARE(raw.size(), pairs.size());
        QCOMPARE(raw.first(), pairs.first().section(u',', 1) + u';' + pairs.first().section(u',', 0, 0));

        ContextUnderTest window;
        SlotUnderTest &slot = window.slot(1);
        window.dialogs.fileAnswers << recorder.path(QStringLiteral("tx.csv"));
        LoadPerformanceData(slot, slot, window.context);
        QCOMPARE(slot.vDateList.size(), pairs.size());
        QCOMPARE(slot.vValueList.last(), pairs.last().section(u',', 1));
        QVERIFY2(slot.chart.contains(QStringLiteral("title: Statistics for Transactions taken from ") +
                                     pairs.first().section(u',', 0, 0) + QStringLiteral(" to ") +
                                     pairs.last().section(u',', 0, 0)),
                 qPrintable(slot.chart.join(u'\n')));
    }

    // A dead server is tried again and again without a line each time, the other slot samples
    // on, and the slot comes back when its server does.
    void deadServerIsRetriedWhileTheOtherSlotGoesOn()
    {
        SampledServer steady(*sandbox_);
        SampledServer dying(*sandbox_);
        QVERIFY(steady.server.isRunning() && dying.server.isRunning());
        RecorderProcess recorder;
        recorder.writeConfig(section(QStringLiteral("steady"), steady.dsn) +
                             section(QStringLiteral("dying"), dying.dsn));
        QVERIFY(recorder.start());
        QVERIFY2(waitForLines(recorder, QStringLiteral("dying.csv"), 0), qPrintable(recorder.log()));

        dying.server.kill();
        QTRY_VERIFY2_WITH_TIMEOUT(recorder.logLines(QStringLiteral("[dying] failed: ")) >= 1,
                                  qPrintable(recorder.log()), 10000);
        const qsizetype steadyLines = recorder.fileLines(QStringLiteral("steady.csv")).size();
        // Tries at 1 s and 3 s after the failure fail alike.
        QTest::qWait(4500);
        QVERIFY2(recorder.fileLines(QStringLiteral("steady.csv")).size() >= steadyLines + 3,
                 qPrintable(recorder.log()));
        // The lost sample and then the refused login: two changes, however many tries.
        QVERIFY2(recorder.logLines(QStringLiteral("[dying] failed: ")) <= 2, qPrintable(recorder.log()));

        const qsizetype dyingLines = recorder.fileLines(QStringLiteral("dying.csv")).size();
        QVERIFY(dying.server.restart());
        QTRY_VERIFY2_WITH_TIMEOUT(recorder.logLines(QStringLiteral("[dying] reconnected to ")) == 1,
                                  qPrintable(recorder.log()), 15000);
        QVERIFY2(waitForLines(recorder, QStringLiteral("dying.csv"), dyingLines), qPrintable(recorder.log()));
        QVERIFY(recorder.terminate(2000));
        QCOMPARE(recorder.logLines(QStringLiteral("[steady] failed")), 0);
        // No line a sample: started, connected, stopped, and nothing else for the steady slot.
        QCOMPARE(recorder.logLines(QStringLiteral("[steady]")), 3);
    }

    // A statement the server refuses is logged once with the server's own text, however often
    // it is tried again; a server that stops answering makes its slot wait and say so once;
    // neither holds the slot beside them.
    void troubleStaysWithItsSlot()
    {
        SampledServer good(*sandbox_);
        SampledServer hanging(*sandbox_);
        QVERIFY(good.server.isRunning() && hanging.server.isRunning());
        RecorderProcess recorder;
        recorder.writeConfig(section(QStringLiteral("steady"), good.dsn) +
                             section(QStringLiteral("hung"), hanging.dsn) +
                             section(QStringLiteral("refused"), good.dsn)
                                 .replace(statement, QStringLiteral("select Transactions from master..noSuchTable")));
        QVERIFY(recorder.start());
        QVERIFY2(waitForLines(recorder, QStringLiteral("hung.csv"), 0), qPrintable(recorder.log()));

        hanging.server.pause();
        const qsizetype steadyLines = recorder.fileLines(QStringLiteral("steady.csv")).size();
        QTRY_VERIFY2_WITH_TIMEOUT(recorder.logLines(QStringLiteral("[hung] waiting for the server")) == 1,
                                  qPrintable(recorder.log()), 10000);
        QTest::qWait(2500);
        hanging.server.resume();
        QTRY_VERIFY2_WITH_TIMEOUT(recorder.logLines(QStringLiteral("[hung] the server answers again")) == 1,
                                  qPrintable(recorder.log()), 10000);
        QVERIFY2(recorder.fileLines(QStringLiteral("steady.csv")).size() >= steadyLines + 3,
                 qPrintable(recorder.log()));
        QVERIFY(recorder.terminate(2000));

        // Tried at least at 1 s and 3 s after the first refusal.
        QCOMPARE(recorder.logLines(QStringLiteral("[refused] failed: [FreeTDS][SQL Server]")), 1);
        QCOMPARE(recorder.logLines(QStringLiteral("[hung] waiting for the server")), 1);
        QCOMPARE(recorder.logLines(QStringLiteral("[steady]")), 3);
        QVERIFY(recorder.fileLines(QStringLiteral("refused.csv")).isEmpty());
    }

    void checkNamesEveryBadLine_data()
    {
        QTest::addColumn<QString>("config");
        QTest::addColumn<QStringList>("errors");
        const QString good = QStringLiteral("Server=S\nProvider=ODBC\nStatement=select 1\nInterval=1\n");
        QTest::newRow("unknown key, bad values, password")
            << "[a]\n" + good + "DataFile=a.csv\nIntervall=5\nProvider=OLEDB\nDelta=maybe\nPassword=secret\n"
            << QStringList{":7: unknown key \"Intervall\"", ":8: Provider is given twice in [a]",
                           ":9: Delta is yes or no, not \"maybe\"", ":10: a password is never read from this file"};
        QTest::newRow("values out of range")
            << "[a]\nServer=S\nProvider=JDBC\nStatement=select 1\nInterval=0.5\nDataFile=a.csv\n"
            << QStringList{":3: Provider is ODBC or OLEDB, not \"JDBC\"", ":5: Interval is whole seconds from 1 to"};
        QTest::newRow("missing keys, key before any section, no value")
            << "Server=S\n[a]\nServer=\nInterval=1\n"
            << QStringList{":1: Server stands before the first [section]", ":3: Server has no value",
                           ":2: [a] has no Provider, Statement, DataFile"};
        QTest::newRow("two slots, one name, one file")
            << "[a]\n" + good + "DataFile=x.csv\n[A]\n" + good + "DataFile=y.csv\n[b]\n" + good + "DataFile=x.csv\n"
            << QStringList{":7: [A] is defined twice (first on line 1)",
                           ":18: ", "x.csv\" is written on line 6 already"};
        QTest::newRow("files that cannot be") << "[a]\n" + good + "DataFile=nowhere/a.csv\nPasswordFile=absent\n"
                                              << QStringList{":6: the folder of", ":7: cannot read the password file"};
        QTest::newRow("no section, odd line") << "; nothing\njust words\n"
                                              << QStringList{":2: neither a [section] nor Key=Value"};
        QTest::newRow("empty file") << "" << QStringList{": no slot"};
    }

    // --check names each bad line; the same file never starts a slot.
    void checkNamesEveryBadLine()
    {
        QFETCH(QString, config);
        QFETCH(QStringList, errors);
        RecorderProcess recorder;
        recorder.writeConfig(config);
        const QString ini = recorder.path(QStringLiteral("record.ini"));
        QCOMPARE(recorder.runToEnd({QStringLiteral("--check"), ini}), 1);
        const QString log = recorder.log();
        for (const QString &error : errors) {
            const QString expected = error.startsWith(u':') ? ini + error : error;
            QVERIFY2(log.contains(expected), qPrintable(expected + QStringLiteral(" not in:\n") + log));
        }
        QCOMPARE(recorder.runToEnd({ini}), 1);
        QCOMPARE(recorder.log(), log);
        QVERIFY(!QFile::exists(recorder.path(QStringLiteral("a.csv"))));
    }

    void checkPassesAGoodFile()
    {
        RecorderProcess recorder;
        recorder.writeConfig(
            QStringLiteral("; two slots\n[a]\nServer=S\nProvider=odbc\nStatement=select 1\nInterval=1\n"
                           "DataFile=a.csv\n\n# and\n[b]\nServer=h:5000\nProvider=OLEDB\nUser=sa\n"
                           "PasswordFile=pw\nDatabase=master\nStatement=select 2\nInterval=60\nDelta=Yes\n"
                           "ValueName=Two\nDataFile=b.csv\nRawFile=b.raw\nDelimiter=|\n"));
        const QString ini = recorder.path(QStringLiteral("record.ini"));
        QCOMPARE(recorder.runToEnd({QStringLiteral("--check"), ini}), 0);
        QCOMPARE(recorder.standardOutput(), ini + QStringLiteral(": 2 slot(s), no error\n"));
        QCOMPARE(recorder.runToEnd({}), 2);
        QCOMPARE(recorder.runToEnd({ini, QStringLiteral("--listen"), QStringLiteral("nowhere")}), 2);
        QVERIFY(recorder.log().contains(QStringLiteral("--listen takes ADDRESS:PORT")));
        QVERIFY(!QFile::exists(recorder.path(QStringLiteral("a.csv"))));
    }
};

QUINTARO_TEST(RecorderTest)
#include "RecorderTest.moc"
