#include "OdbcSandbox.h"
#include "RecordingRelay.h"
#include "SimServer.h"
#include "SqlClients.h"
#include "TestRegistry.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// Wireshark's TDS dissector is an independent reader of the wire format: a session it decodes
// without complaint is one a strict client would accept too. Live capture on lo sees no
// packets inside some VMs, so the session is recorded by a relay between tsql and the server
// and turned into a capture file by text2pcap; the dissector reads the very bytes that passed.
class SimServerCaptureTest : public QObject {
    Q_OBJECT
private slots:
    void sessionDecodesCleanly_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QStringList>("expectedFrames");
        QTest::newRow("7.4") << QStringLiteral("7.4")
                             << QStringList{QStringLiteral("TDS7 pre-login message"), QStringLiteral("TDS7 login"),
                                            QStringLiteral("SQL batch"), QStringLiteral("Response")};
        QTest::newRow("5.0") << QStringLiteral("5.0")
                             << QStringList{QStringLiteral("TDS4/5 login"), QStringLiteral("Query"),
                                            QStringLiteral("Response")};
    }

    void sessionDecodesCleanly()
    {
        QFETCH(QString, version);
        QFETCH(QStringList, expectedFrames);
        for (const char *tool : {"tshark", "text2pcap"})
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QLatin1String(tool))));
        SimServer server;
        QVERIFY(server.start());
        RecordingRelay relay(server.port());
        OdbcSandbox sandbox;
        sandbox.addFreeTdsServer(QStringLiteral("simtds"), relay.port(), version);

        // Results of every column kind, NULLs, text beyond ASCII and in long form (a request and
        // a reply of several packets), an error.
        const QString session =
            QStringLiteral("select Greeting='Grüße ☃', Number=42, Ratio=0.5, Nothing=null\ngo\n"
                           "select TableName, Indicators&1 \"Ind\", Description from master..monTables order by 1\ngo\n"
                           "select Long='%1'\ngo\n"
                           "select * from master..monNoSuchTable")
                .arg(QString(3000, QChar(0xE9)));
        const SqlAnswer answer = SqlClients::tsql(QStringLiteral("simtds"), QString(), session);
        QVERIFY2(answer.loggedIn, qPrintable(answer.errorText));

        QTemporaryDir folder;
        const QString dump = folder.filePath(QStringLiteral("session.txt"));
        const QString capture = folder.filePath(QStringLiteral("session.pcap"));
        QFile dumpFile(dump);
        QVERIFY(dumpFile.open(QIODevice::WriteOnly));
        dumpFile.write(relay.text2pcapInput());
        dumpFile.close();
        const QString port = QString::number(server.port());
        QProcess convert;
        convert.start(QStringLiteral("text2pcap"), {QStringLiteral("-q"), QStringLiteral("-D"), QStringLiteral("-4"),
                                                    QStringLiteral("127.0.0.2,127.0.0.1"), QStringLiteral("-T"),
                                                    QStringLiteral("50000,") + port, dump, capture});
        QVERIFY(convert.waitForFinished(30000));
        QCOMPARE(convert.exitCode(), 0);

        QProcess decode;
        decode.start(QStringLiteral("tshark"), {QStringLiteral("-r"), capture, QStringLiteral("-d"),
                                                QStringLiteral("tcp.port==") + port + QStringLiteral(",tds"),
                                                QStringLiteral("-V"), QStringLiteral("-O"), QStringLiteral("tds")});
        QVERIFY(decode.waitForFinished(30000));
        const QString decoded = QString::fromUtf8(decode.readAllStandardOutput());
        for (const QString &frame : expectedFrames)
            QVERIFY2(decoded.contains(frame), qPrintable(frame));
        const qsizetype malformed = decoded.indexOf(QStringLiteral("Malformed"));
        QVERIFY2(malformed < 0, qPrintable(decoded.mid(std::max<qsizetype>(0, malformed - 3000), 3500)));
    }
};

QUINTARO_TEST(SimServerCaptureTest)
#include "SimServerCaptureTest.moc"
