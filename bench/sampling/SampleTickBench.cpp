// The program side of a sample tick (recording, status texts, the chart append) as a slot grows
// (emptied and grown anew for each size) to ten million points, and the whole-series work around
// it at 1M and 10M points: replots in
// every style with marks off and on, rebuilds with delta off and on, and the memory a recorded
// sample costs. QUINTARO_BENCH_POINTS=1000000 stops at a million.

#include "BudgetTable.h"
#include "Regional.h"
#include "SampleTimer.h"
#include "SlotChart.h"
#include "TApplication.h"
#include "TChart.h"
#include "TChartSlot.h"
#include "paMonSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <map>
#include <qcustomplot.h>
#include <string>
#include <vector>

namespace {

using bench::BudgetTable;
using bench::Target;

// A busy counter: a daily ramp with a little noise on it.
QString valueOf(qsizetype sample)
{
    return QString::number(1000 + (sample % 86400) / 100 + (sample * 7919) % 97);
}

// Clears the slot and grows its record to `points` samples one second apart, drawn as ticks draw
// them: four months of sampling every second make ten million. The history ends a day ago, so the
// ticks measured afterwards come after it.
void growTo(TChartSlot &slot, qsizetype points)
{
    SlotChart::clear(slot);
    static const QDateTime start =
        QDateTime(QDate::currentDate().addDays(-1), QTime(0, 0), Qt::UTC).addSecs(-10000000);
    while (slot.vValueList.size() < points) {
        const qsizetype sample = slot.vValueList.size();
        slot.vDateList.append(Regional::current().formatTimeLine(start.addSecs(sample)));
        slot.vValueList.append(valueOf(sample));
        slot.drawChart(sample > 0);
    }
}

template <typename Work> double medianOf(int runs, double scale, Work work)
{
    std::vector<double> samples;
    QElapsedTimer clock;
    for (int i = 0; i < runs; ++i) {
        clock.start();
        work(i);
        samples.push_back(double(clock.nsecsElapsed()) / scale);
    }
    return bench::median(samples);
}

// Median of single ticks; the slot grows by `ticks` samples.
double tickMicroseconds(TChartSlot &slot, int ticks)
{
    return medianOf(ticks, 1e3, [&](int i) {
        slot.edValue = QString::number(1000 + i % 97);
        SampleTimer::recordSample(slot, slot);
    });
}

double replotMilliseconds(TChart &chart)
{
    auto *plot = chart.findChild<QCustomPlot *>();
    return medianOf(7, 1e6, [plot](int) { plot->replot(QCustomPlot::rpImmediateRefresh); });
}

double rebuildMilliseconds(TChartSlot &slot)
{
    return medianOf(3, 1e6, [&slot](int) { SlotChart::draw(slot, false); });
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication application(argc, argv);
    QStringList scratch;
    TfmMonSettings window(scratch);
    window.resize(1200, 800);
    window.show();
    TChartSlot &slot = *window.slotByTag(1);
    slot.edValueName->setText(QStringLiteral("Transactions"));
    const QStringList styles{"FastLine", "Line", "Bar", "Area", "Point"};
    const Target tickTarget{1000, "< 1 ms"};
    const Target replotTarget{30, "< 30 ms"};
    const Target rebuildTarget{1000, "< 1 s"};
    const Target largeReplotTarget{10, "< 10 ms"};
    const Target largeRebuildTarget{500, "< 500 ms"};
    const qsizetype largest = qEnvironmentVariableIntValue("QUINTARO_BENCH_POINTS") == 1000000 ? 1000000 : 10000000;

    // Medians by work and size, measured first and printed as tables afterwards.
    std::map<std::string, std::map<qsizetype, double>> figures;
    std::map<qsizetype, double> bytesPerSample;
    for (qsizetype points : {qsizetype(1000), qsizetype(100000), qsizetype(1000000), qsizetype(10000000)}) {
        if (points > largest)
            break;
        const double memoryBefore = bench::residentBytes();
        growTo(slot, points);
        bytesPerSample[points] = (bench::residentBytes() - memoryBefore) / double(points);
        QCoreApplication::processEvents();
        figures["tick"][points] = tickMicroseconds(slot, 1000);
        if (points < 100000)
            continue;
        for (const QString &style : styles) {
            for (bool marks : {false, true}) {
                slot.cbStyle->setCurrentIndex(slot.cbStyle->findText(style));
                slot.cbMarks->setChecked(marks);
                SlotChart::applyMarks(slot);
                QCoreApplication::processEvents();
                figures[style.toStdString() + (marks ? ", marks on" : ", marks off")][points] =
                    replotMilliseconds(*slot.chrtStatistics);
            }
        }
        slot.cbStyle->setCurrentIndex(0);
        slot.cbMarks->setChecked(false);
        SlotChart::applyMarks(slot);
        for (bool delta : {false, true}) {
            slot.cbDelta->setChecked(delta);
            figures[delta ? "delta on" : "delta off"][points] = rebuildMilliseconds(slot);
        }
        slot.cbDelta->setChecked(false);
    }

    const auto at = [&figures](const std::string &work, qsizetype points) { return figures[work][points]; };
    BudgetTable ticks("sample tick, program side (server time excluded)", "10M/1M");
    ticks.row("slot holding 1k points", at("tick", 1000), "us", tickTarget);
    ticks.row("slot holding 100k points", at("tick", 100000), "us", tickTarget);
    ticks.row("slot holding 1M points", at("tick", 1000000), "us", tickTarget);
    if (largest == 10000000)
        ticks.row("slot holding 10M points", at("tick", 10000000), "us", tickTarget, at("tick", 1000000));
    ticks.note("flat: 10M within 20 % of 1M; 1M/100k was " + std::to_string(at("tick", 1000000) / at("tick", 100000)));

    for (const qsizetype points : {qsizetype(1000000), qsizetype(10000000)}) {
        if (points > largest)
            break;
        const bool large = points == 10000000;
        const std::string size = large ? "10M" : "1M";
        const qsizetype smaller = points / 10;
        BudgetTable replots("replot of a " + size + "-point chart", large ? "10M/1M" : "1M/100k");
        for (const QString &style : styles) {
            for (const char *marks : {", marks off", ", marks on"}) {
                const std::string work = style.toStdString() + marks;
                replots.row(work, at(work, points), "ms", large ? largeReplotTarget : replotTarget, at(work, smaller));
            }
        }
        replots.note(large ? "every style is held to 10 ms, whatever the number of points"
                           : "the budget names the fast line; the other styles are held to the same 30 ms");
        BudgetTable rebuilds("rebuild of a chart from " + size + " list lines (style change, load)",
                             large ? "10M/1M" : "1M/100k");
        for (const char *work : {"delta off", "delta on"})
            rebuilds.row(work, at(work, points), "ms", large ? largeRebuildTarget : rebuildTarget, at(work, smaller));
    }
    BudgetTable memory("memory");
    memory.row("per recorded sample (lists + chart), slot of 1M", bytesPerSample[1000000], "B", Target{40, "< 40 B"});
    if (largest == 10000000)
        memory.row("per recorded sample (lists + chart), slot of 10M", bytesPerSample[10000000], "B",
                   Target{40, "< 40 B"});
    memory.note("resident growth while the emptied slot grows, divided by the samples added");
    return 0;
}
