#include "SampleReadout.h"

#include "Regional.h"
#include "TChart.h"
#include "TChartSlot.h"
#include "TStatusBar.h"

#include <QCheckBox>

namespace {

constexpr int valuePanel = 2;
// A difference of two sampled values carries the binary noise of the subtraction beyond this.
constexpr int differenceDigits = 15;

QString withDecimalPoint(QString text)
{
    return text.replace(u'.', Regional::current().decimalPoint());
}

} // namespace

namespace SampleReadout {

QString durationText(std::chrono::microseconds duration)
{
    const double milliseconds = duration.count() / 1000.0;
    if (milliseconds >= 10000)
        return withDecimalPoint(QString::number(milliseconds / 1000, 'f', 1)) + QStringLiteral(" s");
    if (milliseconds >= 1000)
        return withDecimalPoint(QString::number(milliseconds / 1000, 'f', 2)) + QStringLiteral(" s");
    const int decimals = milliseconds >= 100 ? 0 : milliseconds >= 10 ? 1 : 2;
    return withDecimalPoint(QString::number(milliseconds, 'f', decimals)) + QStringLiteral(" ms");
}

QString pointText(const TChartSlot &slot, int point)
{
    const qsizetype line = slot.pointLines.lineOf(point);
    if (line < 0 || line >= slot.vDateList.size() || line >= slot.vValueList.size())
        return {};
    QString text = slot.vDateList[line] + QStringLiteral("\nValue: ") + slot.vValueList[line];
    if (slot.cbDelta->isChecked()) {
        const double plotted = slot.chrtStatistics->point(point).y();
        text += QStringLiteral("\nDelta: ") + withDecimalPoint(QString::number(plotted, 'g', differenceDigits));
    }
    if (const auto roundTrip = slot.roundTrips.at(line, slot.listsGeneration))
        text += QStringLiteral("\nRound trip: ") + durationText(*roundTrip);
    return text;
}

QString summaryText(const RoundTripSummary &summary)
{
    const auto figures = summary.figures();
    if (!figures)
        return {};
    return QStringLiteral("Round trip since Run (%1 samples)\nlast %2, median %3, maximum %4")
        .arg(QString::number(figures->count), durationText(figures->last), durationText(figures->median),
             durationText(figures->maximum));
}

void attach(TChartSlot &slot)
{
    slot.chrtStatistics->setReadoutText([&slot](int point) { return pointText(slot, point); });
    slot.sbStatus->setPanelToolTip(valuePanel, [&slot] { return summaryText(slot.roundTripSummary); });
}

} // namespace SampleReadout
