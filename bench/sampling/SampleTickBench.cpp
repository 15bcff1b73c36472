// The program side of a sample tick (recording, status texts, the chart append) as a slot grows
// to a million points, and the whole-series work around it: replots in every style with marks
// off and on, rebuilds with delta off and on, and the memory a recorded sample costs.

#include "BudgetTable.h"
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

// Grows the slot's record to `points` samples by ticks whose query part is left out.
void growTo(TChartSlot &slot, qsizetype points)
{
    while (slot.vValueList.size() < points) {
        slot.edValue = QString::number(1000 + slot.vValueList.size() % 977);
        SampleTimer::recordSample(slot, slot);
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
        slot.edValue = QString::number(2000 + i);
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

    // Medians by work and size, measured first and printed as tables afterwards.
    std::map<std::string, std::map<qsizetype, double>> figures;
    double bytesPerSample = 0;
    for (qsizetype points : {1000, 100000, 1000000}) {
        const double memoryBefore = bench::residentBytes();
        const qsizetype grownFrom = slot.vValueList.size();
        growTo(slot, points);
        bytesPerSample = (bench::residentBytes() - memoryBefore) / double(slot.vValueList.size() - grownFrom);
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

    const auto grown = [&figures](const std::string &work) { return figures[work][100000]; };
    BudgetTable ticks("sample tick, program side (server time excluded)");
    ticks.row("slot holding 1k points", figures["tick"][1000], "us", tickTarget);
    ticks.row("slot holding 100k points", figures["tick"][100000], "us", tickTarget);
    ticks.row("slot holding 1M points", figures["tick"][1000000], "us", tickTarget, grown("tick"));
    BudgetTable replots("replot of a 1M-point chart");
    for (const QString &style : styles) {
        for (const char *marks : {", marks off", ", marks on"}) {
            const std::string work = style.toStdString() + marks;
            replots.row(work, figures[work][1000000], "ms", replotTarget, grown(work));
        }
    }
    replots.note("the budget names the fast line; the other styles are held to the same 30 ms");
    BudgetTable rebuilds("rebuild of a chart from 1M list lines (style change, load)");
    for (const char *work : {"delta off", "delta on"})
        rebuilds.row(work, figures[work][1000000], "ms", rebuildTarget, grown(work));
    BudgetTable memory("memory");
    memory.row("per recorded sample (lists + chart)", bytesPerSample, "B", Target{150, "< 150 B"});
    memory.note("resident growth from 100k to 1M samples, divided by the samples added");
    return 0;
}
