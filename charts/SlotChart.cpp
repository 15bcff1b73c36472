#include "SlotChart.h"

#include "LineList.h"
#include "PointLines.h"
#include "Regional.h"
#include "TChart.h"
#include "TChartSlot.h"
#include "TDialogs.h"
#include "TStatusBar.h"
#include "TextTrim.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QTimer>
#include <qcustomplot.h>
#include <algorithm>
#include <stdexcept>

namespace {

const SeriesKind styleKinds[] = {SeriesKind::FastLine, SeriesKind::Line, SeriesKind::Bar, SeriesKind::Area,
                                 SeriesKind::Point};

class UnreadableLine : public std::runtime_error {
public:
    explicit UnreadableLine(const QString &message) : std::runtime_error(message.toStdString()) {}
};

double readTime(QStringView line)
{
    const std::optional<QDateTime> time = Regional::current().parseTimeLine(line);
    if (!time)
        throw UnreadableLine(QStringLiteral("'%1' is not a valid date and time").arg(line));
    return QCPAxisTickerDateTime::dateTimeToKey(*time);
}

double readNumber(QStringView line)
{
    const std::optional<double> number = Regional::current().parseNumber(line);
    if (!number)
        throw UnreadableLine(QStringLiteral("'%1' is not a valid floating point value").arg(line));
    return *number;
}

bool isBlank(QStringView line)
{
    return std::all_of(line.begin(), line.end(), [](QChar c) { return c.unicode() <= u' '; });
}

// Where the chart puts a point at x: after the last point whose X is not greater.
qsizetype placeOf(const TChart &chart, double x)
{
    qsizetype lower = 0;
    qsizetype upper = chart.pointCount();
    if (upper == 0 || chart.point(int(upper - 1)).x() <= x)
        return upper;
    while (lower < upper) {
        const qsizetype middle = (lower + upper) / 2;
        if (chart.point(int(middle)).x() <= x)
            lower = middle + 1;
        else
            upper = middle;
    }
    return lower;
}

// Line index read as the list holds it where it can, so that a rebuild reads no text.
double timeAt(const LineList &vDateList, qsizetype index, const Regional &regional)
{
    if (const std::optional<Regional::LocalTime> local = vDateList.timeLine(index, regional))
        return double(regional.msecsSinceEpoch(*local)) / 1000;
    return readTime(vDateList.at(index));
}

double numberAt(const LineList &vValueList, qsizetype index, const Regional &regional)
{
    if (const std::optional<double> number = vValueList.number(index, regional.decimalPoint()))
        return *number;
    return readNumber(vValueList.at(index));
}

bool isBlankAt(const LineList &vValueList, qsizetype index, const Regional &regional)
{
    return !vValueList.number(index, regional.decimalPoint()) && isBlank(vValueList.at(index));
}

// The point of line index, or nothing when its date or value line is empty.
void addPoint(TChart &chart, const LineList &vDateList, const LineList &vValueList, qsizetype index, bool delta,
              const Regional &regional, PointLines *pointLines)
{
    if (vDateList.isEmptyLine(index) || vValueList.isEmptyLine(index))
        return;
    const double x = timeAt(vDateList, index, regional);
    const double value = numberAt(vValueList, index, regional);
    // Without delta every point is at its sampled value, the first too: a value the server never
    // gave would draw a ramp that no rebuild repeats.
    double y = value;
    if (delta) {
        // A blank previous line (a blank-only sample, or one loaded so) has no value to subtract:
        // the point counts as the first, whether drawn live or rebuilt.
        const bool first = index == 0 || isBlankAt(vValueList, index - 1, regional);
        y = first ? 0 : value - numberAt(vValueList, index - 1, regional);
    }
    const qsizetype place = pointLines ? placeOf(chart, x) : 0;
    chart.addXY(x, y);
    if (pointLines)
        pointLines->added(place, index);
}

// The emptied chart shows before the points come back; a chart folded to nothing has nothing
// to show.
void repaintEmptied(TChart &chart)
{
    auto *plot = chart.findChild<QCustomPlot *>();
    if (!plot || !plot->isVisible() || plot->width() <= 0 || plot->height() <= 0)
        return;
    plot->replot(QCustomPlot::rpImmediateRefresh);
    chart.window()->repaint();
}

QColor swatchColor(const QFrame &paColor)
{
    return paColor.palette().color(QPalette::Window);
}

} // namespace

namespace SlotChart {

bool DrawSlotChart(bool append, TChart &chrtStatistics, const LineList &vDateList,
                   const LineList &vValueList, const QCheckBox &cbDelta, QTimer &tmSample,
                   TStatusBar &sbStatus, const QLineEdit &edValueName, PointLines *pointLines)
{
    chrtStatistics.setFootText(QStringLiteral("Statistics for ") + trimBlanksAndControls(edValueName.text())
                               + QStringLiteral(" [Y-Axis is VALUE, X-Axis is TIME]"));
    try {
        const bool delta = cbDelta.isChecked();
        const Regional &regional = Regional::current();
        if (append) {
            if (!vDateList.isEmpty())
                addPoint(chrtStatistics, vDateList, vValueList, vDateList.size() - 1, delta, regional, pointLines);
        } else {
            chrtStatistics.clearPoints();
            if (pointLines)
                pointLines->clear();
            repaintEmptied(chrtStatistics);
            for (qsizetype i = 0; i < vDateList.size(); ++i)
                addPoint(chrtStatistics, vDateList, vValueList, i, delta, regional, pointLines);
        }
        return true;
    } catch (const std::exception &error) {
        tmSample.stop();
        sbStatus.setPanelText(1, QStringLiteral("Sampling Stopped...\r\n") + QString::fromStdString(error.what()));
        return false;
    }
}

bool draw(TChartSlot &slot, bool append)
{
    // New lists (Clear, Load) are shown whole, however far the old ones were zoomed.
    if (slot.listsGeneration != slot.drawnGeneration) {
        slot.drawnGeneration = slot.listsGeneration;
        slot.chrtStatistics->followNewest();
    }
    return DrawSlotChart(append, *slot.chrtStatistics, slot.vDateList, slot.vValueList, *slot.cbDelta,
                         slot.tmSample, *slot.sbStatus, *slot.edValueName, &slot.pointLines);
}

void changeStyle(TChartSlot &slot)
{
    // The chosen item, not the typed text: typing "Bars" passes "Bar" on the way.
    const int index = slot.cbStyle->currentIndex();
    if (index < 0)
        return;
    slot.chrtStatistics->setSeriesKind(styleKinds[index]);
    slot.chrtStatistics->setSeriesColor(swatchColor(*slot.paColor));
    draw(slot, false);
}

void applyMarks(TChartSlot &slot)
{
    slot.chrtStatistics->setMarksVisible(slot.cbMarks->isChecked());
}

void chooseColor(TChartSlot &slot, TDialogs &dialogs, QWidget *owner)
{
    const std::optional<QColor> chosen = dialogs.chooseColor(owner);
    if (!chosen)
        return;
    QPalette palette = slot.paColor->palette();
    palette.setColor(QPalette::Window, *chosen);
    slot.paColor->setPalette(palette);
    slot.chrtStatistics->setSeriesColor(swatchColor(*slot.paColor));
}

void clear(TChartSlot &slot)
{
    slot.vDateList.clear();
    slot.vValueList.clear();
    ++slot.listsGeneration;
    // Where a later save into an existing file resumes is settled with the data files.
    slot.edExFrom.clear();
    draw(slot, false);
}

} // namespace SlotChart
