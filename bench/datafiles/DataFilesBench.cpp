// Saves and loads a million pairs and saves a million-row raw grid through the real window,
// offscreen, and prints the median of several runs with how responsive the window stayed:
// the longest gap between two rounds of event processing and the number of status repaints.
#include "PerformanceDataFile.h"
#include "PerformanceDataLoader.h"
#include "RawDataFile.h"
#include "Regional.h"
#include "TApplication.h"
#include "TChartSlot.h"
#include "TDialogs.h"
#include "TStatusBar.h"
#include "TStringGrid.h"
#include "paMonSettings.h"

#include <QCheckBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

constexpr int pairCount = 1000000;
constexpr int runs = 5;

// Answers every box with No and every file dialog with one name.
class FixedDialogs : public TDialogs {
public:
    QString file;
    void showError(QWidget *, const QString &) override {}
    void showInformation(QWidget *, const QString &) override {}
    bool askYesNo(QWidget *, const QString &) override { return false; }
    QString chooseOpenFile(QWidget *) override { return file; }
    QString chooseSaveFile(QWidget *) override { return file; }
    std::optional<QColor> chooseColor(QWidget *) override { return std::nullopt; }
};

// Counts paints of the watched widgets and the longest time between two of them.
class PaintWatch : public QObject {
public:
    int paints = 0;
    qint64 longestGapMs = 0;
    QElapsedTimer clock;
    qint64 last = 0;
    void start()
    {
        paints = 0;
        longestGapMs = 0;
        clock.start();
        last = 0;
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            longestGapMs = std::max(longestGapMs, clock.elapsed() - last);
            last = clock.elapsed();
        }
        return false;
    }
};

struct Figures {
    double seconds;
    qint64 longestEventGapMs;
    int paints;
    qint64 longestPaintGapMs;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs the action `runs` times after `prepare`, timing it with a zero-interval timer that
// fires at every round of event processing.
void measure(const char *name, PaintWatch &watch, const std::function<void()> &prepare,
             const std::function<void()> &action)
{
    std::vector<double> seconds;
    std::vector<double> cpuSeconds;
    qint64 eventGap = 0;
    int paints = 0;
    qint64 paintGap = 0;
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
        const std::clock_t cpuStart = std::clock();
        action();
        cpuSeconds.push_back(double(std::clock() - cpuStart) / CLOCKS_PER_SEC);
        const qint64 elapsed = clock.elapsed();
        longest = std::max(longest, elapsed - lastEvents);
        seconds.push_back(clock.nsecsElapsed() / 1e9);
        eventGap = std::max(eventGap, longest);
        paints = watch.paints;
        paintGap = std::max(paintGap, watch.longestGapMs);
    }
    // CPU time tells the program's own cost on a machine shared with other work.
    std::printf("%-28s median %6.3f s (min %.3f, max %.3f), CPU %6.3f s; longest event gap %5lld ms; "
                "status paints %4d, longest paint gap %4lld ms\n",
                name, median(seconds), *std::min_element(seconds.begin(), seconds.end()),
                *std::max_element(seconds.begin(), seconds.end()), median(cpuSeconds), (long long)eventGap,
                paints, (long long)paintGap);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    Regional::setCurrent(Regional(u'/', u':', QStringLiteral("HH:mm:ss"), u'.'));
    QTemporaryDir folder;
    QStringList scratch;
    TfmMonSettings window(scratch);
    auto dialogs = std::make_unique<FixedDialogs>();
    FixedDialogs &fixed = *dialogs;
    window.setDialogs(std::move(dialogs));
    window.show();
    TChartSlot &slot = *window.slotByTag(1);
    slot.cbAutoSave->setChecked(true);
    PaintWatch watch;
    slot.sbStatus->installEventFilter(&watch);
    window.sbStatus->installEventFilter(&watch);
    const TWindowContext context = window.context();

    const QDateTime start(QDate(2026, 2, 1), QTime(0, 0));
    for (int i = 0; i < pairCount; ++i) {
        slot.vDateList.append(Regional::current().formatTimeLine(start.addSecs(i)));
        slot.vValueList.append(QString::number(i * 0.25));
    }
    const QString perfFile = folder.filePath(QStringLiteral("perf.csv"));
    measure("save 1,000,000 pairs", watch, [&] { QFile::remove(perfFile); },
            [&] { SavePerformanceData(perfFile, slot, context); });

    TChartSlot &loadSlot = *window.slotByTag(2);
    fixed.file = perfFile;
    measure("load 1,000,000 pairs + redraw", watch, [] {},
            [&] { LoadPerformanceData(loadSlot, context); });
    if (loadSlot.vDateList != slot.vDateList || loadSlot.vValueList != slot.vValueList)
        std::printf("load gave other lists than were saved\n");

    TStringGrid &grid = *slot.sgRawData;
    constexpr int columns = 5;
    grid.setColCount(columns);
    grid.setRowCount(pairCount + 2);
    for (int col = 0; col < columns; ++col)
        grid.setCells(col, 0, QStringLiteral("Column%1").arg(col));
    for (int row = 1; row <= pairCount; ++row) {
        grid.setCells(0, row, QString::number(row));
        grid.setCells(1, row, QStringLiteral("master"));
        grid.setCells(2, row, QString::number(row * 7 % 1000));
        grid.setCells(3, row, QString::number(row * 0.5));
        grid.setCells(4, row, slot.vDateList.at(row - 1).toString());
    }
    const QString rawFile = folder.filePath(QStringLiteral("raw.txt"));
    measure("save 1,000,000 raw rows x 5", watch, [&] { QFile::remove(rawFile); },
            [&] { SaveRawData(rawFile, slot, context); });
    return 0;
}
