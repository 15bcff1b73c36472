// Saves pairs into a new file and resumed into an existing one, loads them back, and saves a raw
// grid, into slots shown offscreen as the window shows them (status bars over real charts, the
// main status bar below) at 100,000 and 1,000,000 entries, and loads ten million. Prints the medians with how
// responsive the event loop stayed, and the same load done by tools a user might pick instead.
#include "BudgetTable.h"
#include "ExportMarker.h"
#include "PerformanceDataFile.h"
#include "PerformanceDataLoader.h"
#include "RawDataFile.h"
#include "Regional.h"
#include "ScriptedDialogs.h"
#include "SlotChart.h"
#include "SlotState.h"
#include "SlotView.h"
#include "TApplication.h"
#include "TChart.h"
#include "TStatusBar.h"
#include "TWindowContext.h"
#include "TWindowState.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <functional>
#include <vector>

namespace {

using bench::BudgetTable;
constexpr int runs = 5;

// A slot's pane as the window has it: its status bar over its chart, drawn by the window's own
// chart code. The controls the data files read are set by the bench.
class PaneSlot : public SlotState, public SlotView {
public:
    PaneSlot(int number, QWidget *host) : SlotState(number)
    {
        statusBar = new TStatusBar({98, 200, 500}, host);
        chart = new TChart(host);
        host->layout()->addWidget(statusBar);
        host->layout()->addWidget(chart);
    }

    SlotSettings settings() const override { return controls; }
    StatusPanels &status() override { return *statusBar; }
    void setValueName(const QString &name) override { controls.valueName = name; }
    void setAutoSave(bool ticked) override { controls.autoSave = ticked; }
    bool drawChart(bool append) override
    {
        edValueName.setText(controls.valueName);
        return SlotChart::DrawSlotChart(append, *chart, vDateList, vValueList, cbDelta, tmSample, *statusBar,
                                        edValueName);
    }
    void setChartTitle(const QString &title) override { chart->setTitleText(title); }
    void runStarted() override {}
    void runStopped() override {}
    void rawRowAdded(int) override {}

    SlotSettings controls;
    TStatusBar *statusBar;
    TChart *chart;
    QCheckBox cbDelta;
    QLineEdit edValueName;
};

// The longest time between two paints of the watched widgets.
class PaintWatch : public QObject {
public:
    qint64 longestGapMs = 0;
    QElapsedTimer clock;
    qint64 last = 0;
    void start()
    {
        longestGapMs = 0;
        clock.start();
        last = 0;
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            longestGapMs = std::max(longestGapMs, clock.elapsed() - last);
            last = clock.elapsed();
        }
        return false;
    }
};

// How one piece of work went, over several runs.
struct Figures {
    double seconds = 0;           // median wall time
    double cpuSeconds = 0;        // median CPU time of this process
    qint64 longestEventGapMs = 0; // over all runs
    qint64 longestPaintGapMs = 0; // between two paints of a status bar, over all runs
};

// Runs the action `runs` times after `prepare`, timing it with a zero-interval timer that
// fires at every round of event processing.
Figures measure(PaintWatch &watch, const std::function<void()> &prepare, const std::function<void()> &action)
{
    std::vector<double> seconds;
    std::vector<double> cpuSeconds;
    Figures figures;
    for (int run = 0; run < runs; ++run) {
        prepare();
        QElapsedTimer clock;
        qint64 lastEvents = 0;
        qint64 longest = 0;
        QTimer probe;
        probe.setInterval(0);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            longest = std::max(longest, clock.elapsed() - lastEvents);
            lastEvents = clock.elapsed();
        });
        probe.start();
        watch.start();
        clock.start();
        const double cpuStart = bench::processCpuSeconds();
        action();
        cpuSeconds.push_back(bench::processCpuSeconds() - cpuStart);
        seconds.push_back(double(clock.nsecsElapsed()) / 1e9);
        figures.longestEventGapMs = std::max(figures.longestEventGapMs, std::max(longest, clock.elapsed() - lastEvents));
        figures.longestPaintGapMs = std::max(figures.longestPaintGapMs, watch.longestGapMs);
    }
    figures.seconds = bench::median(seconds);
    figures.cpuSeconds = bench::median(cpuSeconds);
    return figures;
}

void fillPairs(SlotState &slot, qsizetype count)
{
    // Counted in UTC, which needs no zone look-up per line; the lines read as local times.
    static const QDateTime start(QDate(2026, 2, 1), QTime(0, 0), Qt::UTC);
    for (qsizetype i = slot.vDateList.size(); i < count; ++i) {
        slot.vDateList.append(Regional::current().formatTimeLine(start.addSecs(i)));
        slot.vValueList.append(QString::number(double(i) * 0.25));
    }
}

void fillGrid(SlotState &slot, int rows)
{
    // As Clear Raw leaves it, then as a capture fills it.
    TStringGridModel &grid = slot.vRawData;
    grid.clearCells();
    grid.setGridRowCount(2);
    slot.edExRawFrom.clear();
    constexpr int columns = 5;
    grid.setGridColCount(columns);
    grid.setGridRowCount(rows + 2);
    for (int col = 0; col < columns; ++col)
        grid.setCell(col, 0, QStringLiteral("Column%1").arg(col));
    for (int row = 1; row <= rows; ++row) {
        grid.setCell(0, row, QString::number(row));
        grid.setCell(1, row, QStringLiteral("master"));
        grid.setCell(2, row, QString::number(row * 7 % 1000));
        grid.setCell(3, row, QString::number(row * 0.5));
        grid.setCell(4, row, slot.vDateList.at(row - 1));
    }
}

// Median seconds of a well-known tool loading the same file; 0 when it cannot run here.
double peerSeconds(const QString &program, const QStringList &arguments)
{
    std::vector<double> seconds;
    for (int run = 0; run < 3; ++run) {
        QProcess peer;
        QElapsedTimer clock;
        clock.start();
        peer.start(program, arguments);
        if (!peer.waitForFinished(120000) || peer.exitStatus() != QProcess::NormalExit || peer.exitCode() != 0) {
            std::printf("  %s did not run: %s\n", qPrintable(program), peer.readAllStandardError().constData());
            return 0;
        }
        seconds.push_back(double(clock.nsecsElapsed()) / 1e9);
    }
    return bench::median(seconds);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    Regional::setCurrent(Regional(u'/', u':', QStringLiteral("HH:mm:ss"), u'.'));
    QTemporaryDir folder;
    const auto file = [&folder](const char *name) { return folder.filePath(QString::fromLatin1(name)); };
    // Two slot panes over the main status bar, at the window's first size.
    QWidget window;
    window.setLayout(new QVBoxLayout);
    window.resize(827, 610);
    PaneSlot slot(1, &window);
    slot.controls.autoSave = true; // no closing question
    PaneSlot loadSlot(2, &window);
    auto *sbStatus = new TStatusBar({120, 130, 500, 50}, &window);
    window.layout()->addWidget(sbStatus);
    window.show();
    PaintWatch watch;
    slot.statusBar->installEventFilter(&watch);
    sbStatus->installEventFilter(&watch);
    QStringList scratch;
    TWindowState state(scratch);
    ScriptedDialogs dialogs;
    const TWindowContext context{state, *sbStatus, dialogs, &window};
    const QString perfFile = file("perf.csv");
    const QString firstPart = file("first-part.csv");
    const QString rawFile = file("raw.txt");

    std::map<std::string, std::map<int, Figures>> figures;
    for (int pairs : {100000, 1000000}) {
        slot.vDateList.clear();
        slot.vValueList.clear();
        fillPairs(slot, pairs);
        figures["save new"][pairs] = measure(watch, [&] { QFile::remove(perfFile); },
                                             [&] { SavePerformanceData(perfFile, slot, slot, context); });
        QFile::remove(firstPart);
        QFile::copy(perfFile, firstPart);
        figures["load"][pairs] = measure(watch, [&] { dialogs.fileAnswers.enqueue(perfFile); },
                                         [&] { LoadPerformanceData(loadSlot, loadSlot, context); });
        if (loadSlot.vDateList != slot.vDateList || loadSlot.vValueList != slot.vValueList)
            std::printf("  the load gave other lists than were saved\n");

        // The file holds the first half; the save appends the second.
        fillPairs(slot, 2 * pairs);
        figures["save resumed"][pairs] = measure(
            watch,
            [&] {
                QFile::remove(perfFile);
                QFile::copy(firstPart, perfFile);
                slot.edExFrom = ExportMarker::afterEntries(pairs);
            },
            [&] { SavePerformanceData(perfFile, slot, slot, context); });

        fillGrid(slot, pairs);
        figures["raw save"][pairs] = measure(watch, [&] { QFile::remove(rawFile); },
                                             [&] { SaveRawData(rawFile, slot, slot, context); });
    }

    // Ten million lines: four months of one sample a second.
    constexpr int largest = 10000000;
    slot.vDateList.clear();
    slot.vValueList.clear();
    fillPairs(slot, largest);
    const QString largeFile = file("perf-10m.csv");
    SavePerformanceData(largeFile, slot, slot, context);
    figures["load"][largest] = measure(watch, [&] { dialogs.fileAnswers.enqueue(largeFile); },
                                       [&] { LoadPerformanceData(loadSlot, loadSlot, context); });
    if (loadSlot.vDateList != slot.vDateList || loadSlot.vValueList != slot.vValueList)
        std::printf("  the load gave other lists than were saved\n");
    QFile::remove(largeFile);
    loadSlot.vDateList.clear();
    loadSlot.vValueList.clear();
    slot.vDateList.clear();
    slot.vValueList.clear();
    fillPairs(slot, 2000000);

    // How soon a save stops once asked: the flag is set from an event the save lets run.
    QElapsedTimer sinceAbort;
    std::vector<double> abortMs;
    for (int run = 0; run < runs; ++run) {
        QFile::remove(perfFile);
        QTimer::singleShot(100, [&] {
            context.state.bAbort = true;
            sinceAbort.start();
        });
        SavePerformanceData(perfFile, slot, slot, context);
        abortMs.push_back(sinceAbort.isValid() ? double(sinceAbort.nsecsElapsed()) / 1e6 : 0);
        sinceAbort.invalidate();
    }

    const auto wall = [&figures](const char *work) {
        return std::pair(figures[work][1000000].seconds, figures[work][100000].seconds);
    };
    const bench::Target eventTarget{50, "< 50 ms"};
    BudgetTable saves("save of 1M pairs (abortable, events processed at least every 50 ms)");
    for (const char *work : {"save new", "save resumed"}) {
        const auto [seconds, at100k] = wall(work);
        const std::string name = std::string(work) == "save new" ? "into a new file" : "resumed into an existing file";
        saves.row(name, seconds, "s", bench::Target{1, "< 1 s"}, at100k);
        saves.row("  longest gap between event rounds", double(figures[work][1000000].longestEventGapMs), "ms",
                  eventTarget);
        saves.row("  CPU time", figures[work][1000000].cpuSeconds, "s");
    }
    saves.row("abort: flag set to save returned", bench::median(abortMs), "ms", eventTarget);

    BudgetTable loads("load of a 1M-line performance data file (repainted throughout)");
    const auto [loadSeconds, load100k] = wall("load");
    loads.row("load and redraw", loadSeconds, "s", bench::Target{2, "< 2 s"}, load100k);
    loads.row("  longest gap between status repaints", double(figures["load"][1000000].longestPaintGapMs), "ms",
              bench::Target{250, "< 250 ms"});
    loads.row("  CPU time", figures["load"][1000000].cpuSeconds, "s");

    // The same 1M pairs read by tools a user might pick instead.
    const double python = peerSeconds(QStringLiteral("python3"), {QStringLiteral(QUINTARO_PEER_CSV_LOAD), firstPart});
    if (python > 0)
        loads.row("peer: Python csv + strptime + float", python, "s");
    const double sqlite = peerSeconds(
        QStringLiteral("sqlite3"), {QStringLiteral(":memory:"), QStringLiteral(".import --csv ") + firstPart + " pairs"});
    if (sqlite > 0)
        loads.row("peer: sqlite3 .import (text only)", sqlite, "s");
    char ratios[160];
    std::snprintf(ratios, sizeof ratios, "this load takes %.2f x Python's time and %.2f x sqlite3's",
                  python > 0 ? loadSeconds / python : 0, sqlite > 0 ? loadSeconds / sqlite : 0);
    loads.note(ratios);
    BudgetTable largeLoads("load of a 10M-line performance data file (repainted throughout)", "10M/1M");
    largeLoads.row("load and redraw", figures["load"][largest].seconds, "s", bench::Target{5, "< 5 s"}, loadSeconds);
    largeLoads.row("  longest gap between status repaints", double(figures["load"][largest].longestPaintGapMs), "ms",
                   bench::Target{250, "< 250 ms"});
    largeLoads.row("  CPU time", figures["load"][largest].cpuSeconds, "s");

    BudgetTable raw("save of a raw grid of 1M rows x 5 columns");
    const auto [rawSeconds, raw100k] = wall("raw save");
    raw.row("raw save", rawSeconds, "s", std::nullopt, raw100k);
    raw.row("  longest gap between event rounds", double(figures["raw save"][1000000].longestEventGapMs), "ms",
            eventTarget);
    return 0;
}
