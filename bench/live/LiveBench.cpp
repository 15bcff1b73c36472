// The window sampling a simulated ASE server over the real ODBC path: raw capture of whole
// results of 100,000 and 1,000,000 rows of 5 columns into the grid, and six slots sampling at a
// 1-second interval for a minute, with the share of a core the program takes meanwhile.
// The server runs in its own process, so its work is not counted.
// Run offscreen: build/bench/live/bench_live [seconds of the six-slot run, 60 unless given]

#include "BudgetTable.h"
#include "RawGrid.h"
#include "Regional.h"
#include "SamplingWindow.h"
#include "TApplication.h"
#include "TChartSlot.h"
#include "TConnection.h"
#include "TQuery.h"
#include "TStringGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <map>
#include <sqlite3.h>

namespace {

using bench::BudgetTable;
using bench::Target;

// A database file for the server with one table of `rows` rows of 5 columns per size.
bool createResultTables(const QString &fileName, const QList<int> &sizes)
{
    sqlite3 *db = nullptr;
    bool made = sqlite3_open(fileName.toUtf8().constData(), &db) == SQLITE_OK;
    for (int rows : sizes) {
        const QByteArray statement =
            QStringLiteral("CREATE TABLE rows%1 AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                           "WHERE i < %1) SELECT i AS RowNo, 'master' AS DbName, i * 7 % 1000 AS Reads, "
                           "i * 0.5 AS Ratio, 'line ' || i AS Note FROM n")
                .arg(rows)
                .toUtf8();
        made = made && sqlite3_exec(db, statement.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    sqlite3_close(db);
    return made;
}

// One tick of the slot's timer, as if its interval had passed; CPU milliseconds it took.
double cpuOfTick(TChartSlot &slot)
{
    const double before = bench::processCpuSeconds();
    SamplingWindow::fire(slot);
    return (bench::processCpuSeconds() - before) * 1e3;
}

// CPU time of this process: the server's share of the work runs in its own process, beside it.
struct CaptureFigures {
    double withGridMs = 0; // median sample with every row copied into the grid
    double fetchMs = 0;    // median read of every field of the same result, on the slot's query
    double residentMb = 0; // growth of the process for one captured result
};

// Reads every field of every row the way a sample does, on the slot's worker, without keeping
// them; CPU milliseconds.
double fetchEveryField(TChartSlot &slot)
{
    const double before = bench::processCpuSeconds();
    const QString statement = slot.vSQL;
    bool answered = false;
    slot.dbLocal.request<bool>(
        ConnectionWorker::Deadline::Query,
        [statement](TConnection &, TQuery &query, bool &) {
            query.close();
            query.clear();
            query.add(statement);
            query.open();
            QStringList names;
            query.getFieldNames(names);
            while (!query.eof()) {
                for (const QString &name : std::as_const(names))
                    query.fieldByName(name);
                query.next();
            }
            query.close();
        },
        [&answered](const ConnectionWorker::Reply<bool> &) { answered = true; });
    if (!QTest::qWaitFor([&answered] { return answered; }, 120000))
        std::printf("  the fetch did not end\n");
    return (bench::processCpuSeconds() - before) * 1e3;
}

CaptureFigures capture(SamplingWindow &w, int n, int rows)
{
    constexpr int runs = 3;
    TChartSlot &slot = w.slot(n);
    slot.edInterval->setText(QStringLiteral("3600"));
    w.run(n, QStringLiteral("select * from rows%1").arg(rows));
    CaptureFigures figures;
    std::vector<double> withGrid;
    std::vector<double> fetch;
    for (int run = 0; run < runs; ++run) {
        RawGrid::clearRaw(slot);
        slot.cbRawData->setChecked(true);
        const double before = bench::residentBytes();
        withGrid.push_back(cpuOfTick(slot));
        figures.residentMb = std::max(figures.residentMb, (bench::residentBytes() - before) / 1e6);
        if (slot.sgRawData->rowCount() != rows + 2)
            std::printf("  the grid holds %d rows, not %d\n", slot.sgRawData->rowCount() - 2, rows);
        fetch.push_back(fetchEveryField(slot));
    }
    slot.bbtStopSampling->click();
    RawGrid::clearRaw(slot);
    figures.withGridMs = bench::median(withGrid);
    figures.fetchMs = bench::median(fetch);
    return figures;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication application(argc, argv);
    const int minuteSeconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 60;
    Regional::setCurrent(Regional(u'/', u':', QStringLiteral("HH:mm:ss"), u'.'));
    QTemporaryDir folder;
    const QString databaseFile = folder.filePath(QStringLiteral("results.db"));
    if (!createResultTables(databaseFile, {100000, 1000000})) {
        std::fprintf(stderr, "could not create the result tables\n");
        return 1;
    }
    OdbcSandbox sandbox;
    const SampledServer server(sandbox, SimServer::Options{SimServer::Persona::Ase, {}, databaseFile, false});
    if (!server.server.isRunning())
        return 1;

    std::map<int, CaptureFigures> captured;
    {
        SamplingWindow w(server);
        // A slot keeps the statement it first ran, so each size has a slot of its own.
        captured[100000] = capture(w, 1, 100000);
        captured[1000000] = capture(w, 2, 1000000);
    }
    const CaptureFigures &large = captured[1000000];
    const CaptureFigures &small = captured[100000];
    const auto perRowUs = [](double ms, int rows) { return ms * 1000 / rows; };
    BudgetTable capture("raw capture of a 1M-row result of 5 columns");
    capture.row("per row, program side (CPU)",
                perRowUs(large.withGridMs - large.fetchMs, 1000000), "us", Target{5, "< 5 us"},
                perRowUs(small.withGridMs - small.fetchMs, 100000));
    capture.row("per row, with the ODBC and TDS fetch (CPU)", perRowUs(large.withGridMs, 1000000), "us", std::nullopt,
                perRowUs(small.withGridMs, 100000));
    capture.row("memory of the grid holding it", large.residentMb, "MB", Target{300, "< 300 MB"},
                small.residentMb);
    capture.note("program side: the sample with the grid on less a read of every field of the same result");

    if (minuteSeconds <= 0)
        return 0;
    // Six slots, each on its own connection, sampling a counter every second.
    SamplingWindow w(server);
    const QStringList counters{"Transactions", "Selects", "Updates", "Inserts", "Deletes", "LockWaits"};
    for (int n = 1; n <= 6; ++n) {
        TChartSlot &slot = w.slot(n);
        slot.cbDelta->setChecked(n % 2 == 0);
        slot.edInterval->setText(QStringLiteral("1"));
        w.run(n, QStringLiteral("select %1 from master..monState").arg(counters[n - 1]));
    }
    QEventLoop loop;
    QTimer::singleShot(minuteSeconds * 1000, &loop, &QEventLoop::quit);
    QElapsedTimer wall;
    wall.start();
    const double cpuBefore = bench::processCpuSeconds();
    loop.exec();
    const double cpuShare = (bench::processCpuSeconds() - cpuBefore) / (double(wall.nsecsElapsed()) / 1e9) * 100;
    qsizetype samples = 0;
    for (int n = 1; n <= 6; ++n)
        samples += w.slot(n).vValueList.size();

    BudgetTable six(QStringLiteral("six slots at a 1-second interval for %1 s").arg(minuteSeconds).toStdString());
    six.row("share of one core the program takes", cpuShare, "%", Target{5, "< 5 %"});
    six.row("samples recorded by the six slots", double(samples), "");
    return 0;
}
