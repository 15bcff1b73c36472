#include "OdbcSandbox.h"
#include "SimServer.h"
#include "SqlClients.h"
#include "TestRegistry.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// Wireshark's TDS dissector is an independent reader of the wire format: a session it decodes
// without complaint is one a strict client would accept too.
class SimServerCaptureTest : public QObject {
    Q_OBJECT
private slots:
    void sessionDecodesCleanly_data()
    {
        QTest::addColumn<QString>("version");
        QTest::newRow("7.4") << QStringLiteral("7.4");
        QTest::newRow("5.0") << QStringLiteral("5.0");
    }

    void sessionDecodesCleanly()
    {
        QFETCH(QString, version);
        if (QStandardPaths::findExecutable(QStringLiteral("tshark")).isEmpty())
            QSKIP("tshark is not installed");
        SimServer server;
        QVERIFY(server.start());
        OdbcSandbox sandbox;
        sandbox.addFreeTdsServer(QStringLiteral("simtds"), server.port(), version);
        const QString port = QString::number(server.port());
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("session.pcapng"));

        QProcess capture;
        capture.setProcessChannelMode(QProcess::MergedChannels);
        capture.start(QStringLiteral("tshark"),
                      {QStringLiteral("-i"), QStringLiteral("lo"), QStringLiteral("-f"), QStringLiteral("tcp port ") + port,
                       QStringLiteral("-w"), file});
        QByteArray said;
        const QDeadlineTimer deadline(10000);
        while (!said.contains("Capturing on") && capture.state() != QProcess::NotRunning && !deadline.hasExpired()) {
            capture.waitForReadyRead(200);
            said += capture.readAll();
        }
        if (!said.contains("Capturing on")) {
            capture.kill();
            capture.waitForFinished();
            QSKIP(qPrintable(QStringLiteral("cannot capture on lo here: ") + QString::fromLocal8Bit(said).trimmed()));
        }

        // Results of every kind, an error, and text beyond ASCII.
        const SqlAnswer answer = SqlClients::tsql(
            QStringLiteral("simtds"), QString(),
            QStringLiteral("select Greeting='Grüße ☃', Number=42, Ratio=0.5, Nothing=null\ngo\n"
                           "select * from master..monNoSuchTable"));
        QVERIFY2(answer.loggedIn, qPrintable(answer.errorText));
        QTest::qWait(300); // lets the capture take in the last packets before it stops
        capture.terminate();
        QVERIFY(capture.waitForFinished(10000));

        QProcess decode;
        decode.setProcessChannelMode(QProcess::MergedChannels);
        decode.start(QStringLiteral("tshark"), {QStringLiteral("-r"), file, QStringLiteral("-d"),
                                                QStringLiteral("tcp.port==") + port + QStringLiteral(",tds"),
                                                QStringLiteral("-V")});
        QVERIFY(decode.waitForFinished(20000));
        const QString decoded = QString::fromUtf8(decode.readAll());
        QVERIFY2(decoded.contains(QStringLiteral("Tabular Data Stream")), qPrintable(decoded.left(2000)));
        QVERIFY2(!decoded.contains(QStringLiteral("Malformed")),
                 qPrintable(decoded.mid(std::max<qsizetype>(0, decoded.indexOf(QStringLiteral("Malformed")) - 3000), 3500)));
    }
};

QUINTARO_TEST(SimServerCaptureTest)
#include "SimServerCaptureTest.moc"
