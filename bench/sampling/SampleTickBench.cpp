// The program side of a sample tick (recording, status texts, the chart append) as a slot
// grows to a million points, and the whole-series work around it: one replot and a rebuild.
// Run offscreen: QT_QPA_PLATFORM=offscreen build/bench/bench_sampling

#include "SampleTimer.h"
#include "SlotChart.h"
#include "TChart.h"
#include "TChartSlot.h"
#include "paMonSettings.h"

#include "TApplication.h"
#include <QFile>
#include <QElapsedTimer>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <qcustomplot.h>
#include <vector>

namespace {

// Resident memory of the process, from /proc.
double residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096 : 0;
}

double median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// Grows the slot's record to `points` samples by ticks whose query part is left out.
void growTo(TChartSlot &slot, qsizetype points)
{
    while (slot.vValueList.size() < points) {
        slot.edValue = QString::number(1000 + slot.vValueList.size() % 977);
        SampleTimer::recordSample(slot);
    }
}

double tickMicroseconds(TChartSlot &slot, int ticks)
{
    std::vector<double> samples;
    QElapsedTimer clock;
    for (int i = 0; i < ticks; ++i) {
        slot.edValue = QString::number(2000 + i);
        clock.start();
        SampleTimer::recordSample(slot);
        samples.push_back(clock.nsecsElapsed() / 1000.0);
    }
    return median(samples);
}

double replotMilliseconds(TChart &chart, int runs)
{
    auto *plot = chart.findChild<QCustomPlot *>();
    std::vector<double> samples;
    QElapsedTimer clock;
    for (int i = 0; i < runs; ++i) {
        clock.start();
        plot->replot(QCustomPlot::rpImmediateRefresh);
        samples.push_back(clock.nsecsElapsed() / 1e6);
    }
    return median(samples);
}

double rebuildMilliseconds(TChartSlot &slot, int runs)
{
    std::vector<double> samples;
    QElapsedTimer clock;
    for (int i = 0; i < runs; ++i) {
        clock.start();
        SlotChart::draw(slot, false);
        samples.push_back(clock.nsecsElapsed() / 1e6);
    }
    return median(samples);
}

} // namespace

int main(int argc, char **argv)
{
    TApplication application(argc, argv);
    QStringList scratch;
    TfmMonSettings window(scratch);
    window.resize(1200, 800);
    window.show();
    TChartSlot &slot = *window.slotByTag(1);
    slot.edValueName->setText(QStringLiteral("Transactions"));

    std::printf("points     tick median (us)   replot median (ms)\n");
    double bytesPerSample = 0;
    for (qsizetype points : {1000, 10000, 100000, 1000000}) {
        const double memoryBefore = residentBytes();
        const qsizetype grownFrom = slot.vValueList.size();
        growTo(slot, points);
        bytesPerSample = (residentBytes() - memoryBefore) / double(slot.vValueList.size() - grownFrom);
        QCoreApplication::processEvents();
        const double tick = tickMicroseconds(slot, 1000);
        const double replot = replotMilliseconds(*slot.chrtStatistics, 9);
        std::printf("%8lld   %16.2f   %18.2f\n", static_cast<long long>(slot.vValueList.size()), tick, replot);
    }
    std::printf("memory per recorded sample (lists + chart), last growth: %.0f bytes\n", bytesPerSample);
    std::printf("rebuild of %lld points: median %.0f ms\n", static_cast<long long>(slot.vValueList.size()),
                rebuildMilliseconds(slot, 3));
    return 0;
}
