// quintaro-record running 100 slots at a 1-second interval against the simulated ASE server over
// the real ODBC path, watched from outside through /proc: the share of one core it takes and its
// resident memory as the run goes on. The server runs in its own process and is not counted.
// When prometheus is installed it scrapes the recorder every second meanwhile, and its own share
// of a core is measured the same way.
// build/bench/record/bench_record [seconds, 300 unless given] [slots, 100 unless given]

#include "BudgetTable.h"
#include "OdbcSandbox.h"
#include "SimServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int windowSeconds = 10;
// Logins and the first samples are over by then.
constexpr int warmUpSeconds = 30;

struct ProcessUse {
    double cpuSeconds = 0;
    double residentBytes = 0;
};

ProcessUse use(qint64 pid)
{
    ProcessUse now;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray text = stat.readAll();
        // Fields after the command name in parentheses; utime and stime are the 14th and 15th.
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 12)
            now.cpuSeconds = (fields[11].toDouble() + fields[12].toDouble()) / double(sysconf(_SC_CLK_TCK));
    }
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                now.residentBytes = line.mid(6).trimmed().split(' ').first().toDouble() * 1024;
    return now;
}

qsizetype dataLines(const QDir &folder, int slotCount)
{
    qsizetype lines = 0;
    for (int i = 1; i <= slotCount; ++i) {
        QFile file(folder.filePath(QStringLiteral("slot%1.csv").arg(i)));
        if (file.open(QIODevice::ReadOnly))
            lines += file.readAll().count('\n') - 1;
    }
    return lines;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const int seconds = argc > 1 ? std::max(atoi(argv[1]), warmUpSeconds + 2 * windowSeconds) : 300;
    const int slotCount = argc > 2 ? std::max(atoi(argv[2]), 1) : 100;
    bench::BudgetTable table("quintaro-record: " + std::to_string(slotCount) + " slots at 1 s for " +
                             std::to_string(seconds) + " s");

    OdbcSandbox sandbox;
    SimServer server;
    if (!server.start()) {
        std::fprintf(stderr, "the simulated server did not start\n");
        return 1;
    }
    sandbox.addDsn(QStringLiteral("RecordBench"), server.port(), QStringLiteral("5.0"));
    QTemporaryDir folder;
    QFile(folder.filePath(QStringLiteral("pw"))).open(QIODevice::WriteOnly);
    QFile config(folder.filePath(QStringLiteral("record.ini")));
    if (!config.open(QIODevice::WriteOnly))
        return 1;
    for (int i = 1; i <= slotCount; ++i)
        config.write(QStringLiteral("[slot%1]\nServer=RecordBench\nProvider=ODBC\nUser=sa\nPasswordFile=pw\n"
                                    "Statement=select Transactions from master..monState\nInterval=1\n"
                                    "DataFile=slot%1.csv\n\n")
                         .arg(i)
                         .toUtf8());
    config.close();

    QProcess recorder;
    recorder.setProcessChannelMode(QProcess::MergedChannels);
    recorder.start(QStringLiteral(QUINTARO_RECORD_PATH),
                   {config.fileName(), QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")});
    if (!recorder.waitForStarted(5000))
        return 1;
    const qint64 pid = recorder.processId();
    const QRegularExpression serving(QStringLiteral("serving /metrics on (\\S+)"));
    QString log;
    while (!serving.match(log).hasMatch() && recorder.waitForReadyRead(5000))
        log += QString::fromLocal8Bit(recorder.readAll());
    const QString target = serving.match(log).captured(1);

    QProcess prometheus;
    const QString prometheusPath = QStandardPaths::findExecutable(QStringLiteral("prometheus"));
    if (!prometheusPath.isEmpty() && !target.isEmpty()) {
        QFile scrape(folder.filePath(QStringLiteral("prometheus.yml")));
        scrape.open(QIODevice::WriteOnly);
        scrape.write(QStringLiteral("global:\n  scrape_interval: 1s\nscrape_configs:\n  - job_name: quintaro\n"
                                    "    static_configs:\n      - targets: ['%1']\n")
                         .arg(target)
                         .toUtf8());
        scrape.close();
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const quint16 port = probe.serverPort();
        probe.close();
        prometheus.setProcessChannelMode(QProcess::MergedChannels);
        prometheus.setStandardOutputFile(QProcess::nullDevice());
        prometheus.start(prometheusPath,
                         {QStringLiteral("--config.file=") + scrape.fileName(),
                          QStringLiteral("--storage.tsdb.path=") + folder.filePath(QStringLiteral("tsdb")),
                          QStringLiteral("--web.listen-address=127.0.0.1:%1").arg(port)});
        prometheus.waitForStarted(5000);
    }

    std::vector<double> shares;
    std::vector<double> prometheusShares;
    qsizetype failures = 0;
    ProcessUse lastPrometheus;
    std::vector<std::pair<double, double>> memory; // (minutes, bytes) from the warm-up on
    QElapsedTimer clock;
    clock.start();
    ProcessUse last;
    double lastAt = 0;
    qsizetype linesAfterWarmUp = 0;
    while (clock.elapsed() < seconds * 1000LL) {
        QThread::sleep(windowSeconds);
        const double at = clock.elapsed() / 1000.0;
        // The log says nothing more unless a slot fails; read, it never fills the pipe.
        failures += recorder.readAll().count(" failed: ");
        const ProcessUse now = use(pid);
        const ProcessUse nowPrometheus =
            prometheus.state() == QProcess::Running ? use(prometheus.processId()) : ProcessUse{};
        if (at >= warmUpSeconds && lastAt >= warmUpSeconds) {
            shares.push_back((now.cpuSeconds - last.cpuSeconds) / (at - lastAt));
            if (prometheus.state() == QProcess::Running)
                prometheusShares.push_back((nowPrometheus.cpuSeconds - lastPrometheus.cpuSeconds) / (at - lastAt));
        }
        lastPrometheus = nowPrometheus;
        if (at >= warmUpSeconds) {
            if (memory.empty())
                linesAfterWarmUp = dataLines(QDir(folder.path()), slotCount);
            memory.emplace_back(at / 60, now.residentBytes);
        }
        last = now;
        lastAt = at;
    }
    const double steadySeconds = lastAt - memory.front().first * 60;
    const qsizetype linesWritten = dataLines(QDir(folder.path()), slotCount) - linesAfterWarmUp;
    recorder.terminate();
    recorder.waitForFinished(5000);
    prometheus.terminate();
    prometheus.waitForFinished(5000);

    // The least-squares slope of memory over time, in bytes a minute.
    double meanT = 0, meanB = 0;
    for (const auto &[t, b] : memory) {
        meanT += t / double(memory.size());
        meanB += b / double(memory.size());
    }
    double covariance = 0, variance = 0;
    for (const auto &[t, b] : memory) {
        covariance += (t - meanT) * (b - meanB);
        variance += (t - meanT) * (t - meanT);
    }
    const double slope = variance > 0 ? covariance / variance : 0;

    table.row("share of one core, " + std::to_string(slotCount) + " slots at 1 s", bench::median(shares) * 100, "%");
    table.row("samples written a second (all slots)", double(linesWritten) / steadySeconds, "/s");
    table.row("slots one core serves at 1 s", double(slotCount) / bench::median(shares), "");
    if (!prometheusShares.empty())
        table.row("share of one core, prometheus scraping it every 1 s", bench::median(prometheusShares) * 100, "%");
    table.row("resident memory after the warm-up (" + std::to_string(warmUpSeconds) + " s)",
              memory.front().second / 1048576, "MiB");
    table.row("resident memory at the end", memory.back().second / 1048576, "MiB");
    table.row("memory trend after the warm-up", slope / 1024, "KiB/min");
    table.note("failures logged: " + std::to_string(failures));
    table.note("share: median of " + std::to_string(shares.size()) + " windows of " + std::to_string(windowSeconds) +
               " s; memory sampled every " + std::to_string(windowSeconds) + " s from /proc");
    return 0;
}
