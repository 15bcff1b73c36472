#include "TChart.h"

#include "TChartMarks.h"

#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>
#include <qcustomplot.h>

namespace {

const QString kMarksLayer = QStringLiteral("marks");
const QColor kFootColor(0, 0, 128);
constexpr double kValueMargin = 0.05;

} // namespace

TChart::TChart(QWidget *parent)
    : QWidget(parent),
      mPlot(new QCustomPlot(this)),
      mPoints(new QCPGraphDataContainer),
      mLowestValue(std::numeric_limits<double>::infinity()),
      mHighestValue(-std::numeric_limits<double>::infinity())
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The plot's own size hint is tiny. A pane closed to a few pixels must still leave it a
    // pixel to paint into, or every replot complains about an empty paint buffer.
    mPlot->setMinimumSize(1, 1);
    layout->addWidget(mPlot, 1);

    mPlot->setAutoAddPlottableToLegend(false);
    setUpAxes();

    mFoot = new QCPTextElement(mPlot, QStringLiteral("Performance Analysis"));
    mFoot->setTextColor(kFootColor);
    mPlot->plotLayout()->insertRow(1);
    mPlot->plotLayout()->addElement(1, 0, mFoot);

    mSeries = new TChartSeries(SeriesKind::FastLine, mPlot->xAxis, mPlot->yAxis);
    mSeries->setData(mPoints);
    setSeriesName(QStringLiteral("Series1"));

    mPlot->addLayer(kMarksLayer, mPlot->layer(QStringLiteral("main")), QCustomPlot::limAbove);
    mMarks = new TChartMarks(mPlot->xAxis, mPlot->yAxis, mPoints, kMarksLayer);
    mMarks->setVisible(false);

    setBackgroundColor(palette().color(QPalette::Button));
    applyFont();

    connect(mPlot, &QCustomPlot::beforeReplot, this, &TChart::fitAxesToPoints);
    connect(mPlot, &QCustomPlot::mouseDoubleClick, this, &TChart::doubleClicked);
}

// The plot's parts take their fonts once, at creation, by point size; follow the widget's
// font instead, so the chart reads like the rest of the window.
void TChart::applyFont()
{
    const QFont plotFont = font();
    mPlot->setFont(plotFont);
    for (QCPAxis *axis : {mPlot->xAxis, mPlot->yAxis}) {
        axis->setTickLabelFont(plotFont);
        axis->setLabelFont(plotFont);
    }
    mFoot->setFont(plotFont);
    if (mTitle)
        mTitle->setFont(plotFont);
    queueReplot();
}

void TChart::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        applyFont();
}

void TChart::setUpAxes()
{
    QSharedPointer<QCPAxisTickerDateTime> ticker(new QCPAxisTickerDateTime);
    ticker->setDateTimeSpec(Qt::LocalTime);
    ticker->setDateTimeFormat(QStringLiteral("hh:mm:ss\ndd/MM/yyyy"));
    mPlot->xAxis->setTicker(ticker);
    mPlot->axisRect()->setBackground(Qt::white);
    // The top and right axes only close the border around the plot.
    for (QCPAxis *edge : {mPlot->xAxis2, mPlot->yAxis2}) {
        edge->setVisible(true);
        edge->setTicks(false);
        edge->setTickLabels(false);
    }
}

SeriesKind TChart::seriesKind() const
{
    return mSeries->kind();
}

void TChart::setSeriesKind(SeriesKind kind)
{
    if (mSeries->kind() == kind)
        return;
    auto *replacement = new TChartSeries(kind, mPlot->xAxis, mPlot->yAxis);
    replacement->setName(mSeries->name());
    replacement->setColor(mSeries->color());
    replacement->setData(mPoints);
    mPlot->removePlottable(mSeries);
    mSeries = replacement;
    queueReplot();
}

QString TChart::seriesName() const
{
    return mSeries->name();
}

void TChart::setSeriesName(const QString &name)
{
    mSeries->setName(name);
}

QColor TChart::seriesColor() const
{
    return mSeries->color();
}

void TChart::setSeriesColor(const QColor &color)
{
    mSeries->setColor(color);
    queueReplot();
}

bool TChart::marksVisible() const
{
    return mMarks->visible();
}

void TChart::setMarksVisible(bool visible)
{
    mMarks->setVisible(visible);
    queueReplot();
}

void TChart::addXY(const QDateTime &x, double y)
{
    addXY(QCPAxisTickerDateTime::dateTimeToKey(x), y);
}

void TChart::addXY(double secondsSinceEpoch, double y)
{
    const QCPGraphData point(secondsSinceEpoch, y);
    if (mPoints->isEmpty() || secondsSinceEpoch >= (mPoints->constEnd() - 1)->key) {
        mPoints->add(point);
    } else {
        // The store puts a point before those with an equal X; it belongs after them.
        const auto byKey = [](const QCPGraphData &a, const QCPGraphData &b) { return a.key < b.key; };
        const auto lower = std::lower_bound(mPoints->constBegin(), mPoints->constEnd(), point, byKey);
        const auto upper = std::upper_bound(lower, mPoints->constEnd(), point, byKey);
        const auto firstEqual = lower - mPoints->constBegin();
        const auto equalCount = upper - lower;
        mPoints->add(point);
        const auto inserted = mPoints->begin() + firstEqual;
        std::rotate(inserted, inserted + 1, inserted + 1 + equalCount);
    }
    if (!std::isnan(y)) {
        mLowestValue = std::min(mLowestValue, y);
        mHighestValue = std::max(mHighestValue, y);
    }
    queueReplot();
}

void TChart::clearPoints()
{
    mPoints->clear();
    mLowestValue = std::numeric_limits<double>::infinity();
    mHighestValue = -std::numeric_limits<double>::infinity();
    queueReplot();
}

int TChart::pointCount() const
{
    return mPoints->size();
}

QPointF TChart::point(int index) const
{
    const QCPGraphData &data = *mPoints->at(index);
    return {data.key, data.value};
}

QString TChart::footText() const
{
    return mFoot->text();
}

void TChart::setFootText(const QString &text)
{
    mFoot->setText(text);
    queueReplot();
}

QString TChart::titleText() const
{
    return mTitle ? mTitle->text() : QString();
}

void TChart::setTitleText(const QString &text)
{
    QCPLayoutGrid *layout = mPlot->plotLayout();
    if (text.isEmpty()) {
        if (mTitle) {
            layout->remove(mTitle);
            layout->simplify();
            mTitle = nullptr;
        }
    } else if (mTitle) {
        mTitle->setText(text);
    } else {
        layout->insertRow(0);
        mTitle = new QCPTextElement(mPlot, text);
        mTitle->setFont(font());
        layout->addElement(0, 0, mTitle);
    }
    queueReplot();
}

void TChart::setBackgroundColor(const QColor &color)
{
    mBackgroundColor = color;
    mPlot->setBackground(color);
    queueReplot();
}

void TChart::setFillChild(QWidget *child)
{
    mFillChild = child;
    if (!child)
        return;
    if (child->parentWidget() != this)
        child->setParent(this);
    child->setGeometry(rect());
    child->raise();
}

void TChart::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (mFillChild)
        mFillChild->setGeometry(rect());
}

void TChart::fitAxesToPoints()
{
    if (mPoints->isEmpty())
        return;
    const double first = mPoints->constBegin()->key;
    const double last = (mPoints->constEnd() - 1)->key;
    const bool fromZero = mSeries->kind() == SeriesKind::Bar || mSeries->kind() == SeriesKind::Area;

    // Bars stand on their points, so the outer ones need half a step of room.
    double keyMargin = 0;
    if (mSeries->kind() == SeriesKind::Bar && mPoints->size() > 1)
        keyMargin = (last - first) / (mPoints->size() - 1) / 2;
    if (last - first + 2 * keyMargin <= 0)
        keyMargin = 1;
    mPlot->xAxis->setRange(first - keyMargin, last + keyMargin);

    if (mLowestValue > mHighestValue)
        return;
    double lowest = fromZero ? std::min(mLowestValue, 0.0) : mLowestValue;
    double highest = fromZero ? std::max(mHighestValue, 0.0) : mHighestValue;
    double valueMargin = (highest - lowest) * kValueMargin;
    if (valueMargin <= 0)
        valueMargin = std::max(std::abs(highest) * kValueMargin, 1.0);
    lowest -= valueMargin;
    highest += valueMargin;
    // Room for the marks of the highest points, which would otherwise be cut off.
    const double plotHeight = mPlot->axisRect()->height();
    const double markHeight = mMarks->heightAbovePoint();
    if (mMarks->visible() && plotHeight > 2 * markHeight)
        highest += (highest - lowest) * markHeight / (plotHeight - markHeight);
    mPlot->yAxis->setRange(lowest, highest);
}

void TChart::queueReplot()
{
    mPlot->replot(QCustomPlot::rpQueuedReplot);
}
