#include "OdbcSandbox.h"
#include "RecorderProcess.h"
#include "SampledServer.h"
#include "TestRegistry.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>

namespace {

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// The query API's answer for an instant query, as the JSON Prometheus returns.
QJsonObject query(QNetworkAccessManager &network, quint16 port, const QString &promql)
{
    QUrl url(QStringLiteral("http://127.0.0.1:%1/api/v1/query").arg(port));
    QUrlQuery parameters;
    parameters.addQueryItem(QStringLiteral("query"), promql);
    url.setQuery(parameters);
    QNetworkReply *reply = network.get(QNetworkRequest(url));
    if (!QTest::qWaitFor([reply] { return reply->isFinished(); }, 5000))
        return {};
    const QJsonObject answer = QJsonDocument::fromJson(reply->readAll()).object();
    reply->deleteLater();
    return answer;
}

QByteArray get(QNetworkAccessManager &network, const QString &url)
{
    QNetworkReply *reply = network.get(QNetworkRequest(QUrl(url)));
    if (!QTest::qWaitFor([reply] { return reply->isFinished(); }, 5000))
        return {};
    const QByteArray body = reply->readAll();
    reply->deleteLater();
    return body;
}

} // namespace

// The real Prometheus scrapes the recorder on the loopback, and a sampled counter is read back
// through its query API.
class PrometheusTest : public QObject {
    Q_OBJECT

private slots:
    // /metrics as the recorder serves it: the value itself, or with Delta=yes its change.
    void metricsFollowTheSamples()
    {
        OdbcSandbox sandbox;
        SampledServer server(sandbox);
        QVERIFY(server.server.isRunning());
        RecorderProcess recorder;
        const QString slot = QStringLiteral("[%1]\nServer=%2\nProvider=ODBC\nUser=sa\nPasswordFile=pw\n"
                                            "Statement=select 42 Answer\nInterval=1\nDelta=%3\nDataFile=%1.csv\n");
        recorder.writeConfig(slot.arg(QStringLiteral("plain"), server.dsn, QStringLiteral("no")) +
                             slot.arg(QStringLiteral("delta"), server.dsn, QStringLiteral("yes")));
        QVERIFY(recorder.start({QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")}));
        const QRegularExpression serving(QStringLiteral("serving /metrics on (127\\.0\\.0\\.1:\\d+)"));
        QTRY_VERIFY2_WITH_TIMEOUT(serving.match(recorder.log()).hasMatch(), qPrintable(recorder.log()), 10000);
        const QString url = QStringLiteral("http://") + serving.match(recorder.log()).captured(1);
        QNetworkAccessManager network;
        QByteArray metrics;
        const QByteArray labels = "{slot=\"delta\",server=\"" + server.dsn.toUtf8() + "\"}";
        QTRY_VERIFY_WITH_TIMEOUT(
            (metrics = get(network, url + QStringLiteral("/metrics"))).contains("quintaro_sample_value" + labels),
            10000);
        QVERIFY2(metrics.contains("quintaro_sample_value{slot=\"plain\",server=\"" + server.dsn.toUtf8() + "\"} 42\n"),
                 metrics.constData());
        QVERIFY2(metrics.contains("quintaro_sample_value" + labels + " 0\n"), metrics.constData());
        QVERIFY2(metrics.contains("quintaro_sample_failures_total" + labels + " 0\n"), metrics.constData());
        QVERIFY(metrics.contains("quintaro_sample_duration_seconds" + labels + " "));
        QVERIFY(get(network, url + QStringLiteral("/other")).isEmpty());
        QVERIFY(recorder.terminate(2000));
    }

    void prometheusReadsTheSampleCounter()
    {
        const QString prometheus = QStandardPaths::findExecutable(QStringLiteral("prometheus"));
        if (prometheus.isEmpty())
            QSKIP("prometheus is not installed (scripts/install-deps installs it)");
        OdbcSandbox sandbox;
        SampledServer server(sandbox);
        QVERIFY(server.server.isRunning());
        RecorderProcess recorder;
        recorder.writeConfig(
            QStringLiteral("[tx]\nServer=%1\nProvider=ODBC\nUser=sa\nPasswordFile=pw\n"
                           "Statement=select Transactions from master..monState\nInterval=1\nDataFile=tx.csv\n")
                .arg(server.dsn));
        QVERIFY(recorder.start({QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")}));
        const QRegularExpression serving(QStringLiteral("serving /metrics on (127\\.0\\.0\\.1:\\d+)"));
        QTRY_VERIFY2_WITH_TIMEOUT(serving.match(recorder.log()).hasMatch(), qPrintable(recorder.log()), 10000);
        const QString target = serving.match(recorder.log()).captured(1);

        QTemporaryDir folder;
        QFile config(folder.filePath(QStringLiteral("prometheus.yml")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("global:\n  scrape_interval: 1s\n  evaluation_interval: 1s\n"
                                    "scrape_configs:\n  - job_name: quintaro\n    static_configs:\n"
                                    "      - targets: ['%1']\n")
                         .arg(target)
                         .toUtf8());
        config.close();
        const quint16 port = freePort();
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(prometheus, {QStringLiteral("--config.file=") + config.fileName(),
                                   QStringLiteral("--storage.tsdb.path=") + folder.filePath(QStringLiteral("data")),
                                   QStringLiteral("--web.listen-address=127.0.0.1:%1").arg(port)});
        QVERIFY(process.waitForStarted(5000));

        QNetworkAccessManager network;
        double samples = 0;
        QJsonObject metric;
        for (int attempt = 0; attempt < 60 && samples < 2; ++attempt) {
            QTest::qWait(500);
            const QJsonArray result = query(network, port, QStringLiteral("quintaro_samples_total{slot=\"tx\"}"))
                                          .value(QStringLiteral("data"))
                                          .toObject()
                                          .value(QStringLiteral("result"))
                                          .toArray();
            if (result.isEmpty())
                continue;
            metric = result.first().toObject().value(QStringLiteral("metric")).toObject();
            samples = result.first().toObject().value(QStringLiteral("value")).toArray().at(1).toString().toDouble();
        }
        const QByteArray output = process.readAll();
        process.terminate();
        process.waitForFinished(5000);
        QVERIFY2(samples >= 2, output.right(2000).constData());
        QCOMPARE(metric.value(QStringLiteral("server")).toString(), server.dsn);
        QCOMPARE(metric.value(QStringLiteral("job")).toString(), QStringLiteral("quintaro"));
        QVERIFY(recorder.terminate(2000));
    }
};

QUINTARO_TEST(PrometheusTest)
#include "PrometheusTest.moc"
