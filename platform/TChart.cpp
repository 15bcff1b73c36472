#include "TChart.h"

#include "TChartMarks.h"
#include "TChartReadout.h"
#include "TChartZoom.h"
#include "TimeAxisTicker.h"

#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>
#include <qcustomplot.h>

namespace {

const QString marksLayer = QStringLiteral("marks");
const QColor footColor(0, 0, 128);
constexpr double valueMarginShare = 0.05;

} // namespace

TChart::TChart(QWidget *parent)
    : QWidget(parent),
      plot_(new QCustomPlot(this)),
      lowestValue_(std::numeric_limits<double>::infinity()),
      highestValue_(-std::numeric_limits<double>::infinity())
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The plot's own size hint is tiny. A pane closed to a few pixels must still leave it a
    // pixel to paint into, or every replot complains about an empty paint buffer.
    plot_->setMinimumSize(1, 1);
    layout->addWidget(plot_, 1);

    plot_->setAutoAddPlottableToLegend(false);
    // Line segments stroked one by one: a wide antialiased polyline that turns up and down in every
    // pixel column costs Qt a whole self-overlapping outline.
    plot_->setPlottingHint(QCP::phFastPolylines);
    setUpAxes();

    foot_ = new QCPTextElement(plot_, QStringLiteral("Performance Analysis"));
    foot_->setTextColor(footColor);
    plot_->plotLayout()->insertRow(1);
    plot_->plotLayout()->addElement(1, 0, foot_);

    series_ = new TChartSeries(SeriesKind::FastLine, plot_->xAxis, plot_->yAxis, points_);
    setSeriesName(QStringLiteral("Series1"));

    plot_->addLayer(marksLayer, plot_->layer(QStringLiteral("main")), QCustomPlot::limAbove);
    marks_ = new TChartMarks(plot_->xAxis, plot_->yAxis, points_.store(), marksLayer);
    marks_->setVisible(false);
    readout_ = new TChartReadout(plot_, points_.store());
    zoom_ = new TChartZoom(plot_, points_.store());

    setBackgroundColor(palette().color(QPalette::Button));
    applyFont();

    connect(plot_, &QCustomPlot::beforeReplot, this, &TChart::fitAxesToPoints);
    connect(plot_, &QCustomPlot::mouseDoubleClick, this, &TChart::doubleClicked);
}

// The plot's parts take their fonts once, at creation, by point size; follow the widget's
// font instead, so the chart reads like the rest of the window.
void TChart::applyFont()
{
    const QFont plotFont = font();
    plot_->setFont(plotFont);
    for (QCPAxis *axis : {plot_->xAxis, plot_->yAxis}) {
        axis->setTickLabelFont(plotFont);
        axis->setLabelFont(plotFont);
    }
    foot_->setFont(plotFont);
    if (title_)
        title_->setFont(plotFont);
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
    plot_->xAxis->setTicker(QSharedPointer<QCPAxisTicker>(new TimeAxisTicker));
    plot_->axisRect()->setBackground(Qt::white);
    // The top and right axes only close the border around the plot.
    for (QCPAxis *edge : {plot_->xAxis2, plot_->yAxis2}) {
        edge->setVisible(true);
        edge->setTicks(false);
        edge->setTickLabels(false);
    }
}

SeriesKind TChart::seriesKind() const
{
    return series_->kind();
}

void TChart::setSeriesKind(SeriesKind kind)
{
    if (series_->kind() == kind)
        return;
    auto *replacement = new TChartSeries(kind, plot_->xAxis, plot_->yAxis, points_);
    replacement->setName(series_->name());
    replacement->setColor(series_->color());
    plot_->removePlottable(series_);
    series_ = replacement;
    queueReplot();
}

QString TChart::seriesName() const
{
    return series_->name();
}

void TChart::setSeriesName(const QString &name)
{
    series_->setName(name);
}

QColor TChart::seriesColor() const
{
    return series_->color();
}

void TChart::setSeriesColor(const QColor &color)
{
    series_->setColor(color);
    readout_->setRingColor(color);
    queueReplot();
}

bool TChart::marksVisible() const
{
    return marks_->visible();
}

void TChart::setMarksVisible(bool visible)
{
    marks_->setVisible(visible);
    queueReplot();
}

void TChart::addXY(const QDateTime &x, double y)
{
    addXY(QCPAxisTickerDateTime::dateTimeToKey(x), y);
}

void TChart::addXY(double secondsSinceEpoch, double y)
{
    points_.add(secondsSinceEpoch, y);
    if (!std::isnan(y)) {
        lowestValue_ = std::min(lowestValue_, y);
        highestValue_ = std::max(highestValue_, y);
    }
    queueReplot();
}

void TChart::clearPoints()
{
    points_.clear();
    lowestValue_ = std::numeric_limits<double>::infinity();
    highestValue_ = -std::numeric_limits<double>::infinity();
    queueReplot();
}

int TChart::pointCount() const
{
    return int(points_.size());
}

QPointF TChart::point(int index) const
{
    const QCPGraphData &data = points_.at(index);
    return {data.key, data.value};
}

QString TChart::footText() const
{
    return foot_->text();
}

void TChart::setFootText(const QString &text)
{
    foot_->setText(text);
    queueReplot();
}

QString TChart::titleText() const
{
    return title_ ? title_->text() : QString();
}

void TChart::setTitleText(const QString &text)
{
    QCPLayoutGrid *layout = plot_->plotLayout();
    if (text.isEmpty()) {
        if (title_) {
            layout->remove(title_);
            layout->simplify();
            title_ = nullptr;
        }
    } else if (title_) {
        title_->setText(text);
    } else {
        layout->insertRow(0);
        title_ = new QCPTextElement(plot_, text);
        title_->setFont(font());
        layout->addElement(0, 0, title_);
    }
    queueReplot();
}

void TChart::setBackgroundColor(const QColor &color)
{
    backgroundColor_ = color;
    plot_->setBackground(color);
    queueReplot();
}

void TChart::setFillChild(QWidget *child)
{
    fillChild_ = child;
    if (!child)
        return;
    if (child->parentWidget() != this)
        child->setParent(this);
    child->setGeometry(rect());
    child->raise();
}

bool TChart::followsNewest() const
{
    return !zoom_->isHeld();
}

void TChart::followNewest()
{
    zoom_->follow();
}

void TChart::setReadoutText(std::function<QString(int point)> textOf)
{
    readout_->setTextOf(std::move(textOf));
}

void TChart::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (fillChild_)
        fillChild_->setGeometry(rect());
}

void TChart::fitAxesToPoints()
{
    // An empty chart has no times and no values to label.
    for (QCPAxis *axis : {plot_->xAxis, plot_->yAxis})
        axis->setTickLabels(points_.size() > 0);
    if (points_.size() == 0)
        return;
    const bool fromZero = series_->kind() == SeriesKind::Bar || series_->kind() == SeriesKind::Area;
    double lowestValue = lowestValue_;
    double highestValue = highestValue_;
    if (zoom_->isHeld()) {
        // The user's time span stays; the values fit the points in it, if any, read from the
        // block extremes rather than point by point.
        const QCPRange span = plot_->xAxis->range();
        const auto store = points_.store();
        const qsizetype begin = store->findBegin(span.lower, false) - store->constBegin();
        const qsizetype end = store->findEnd(span.upper, false) - store->constBegin();
        if (begin >= end)
            return;
        const TChartPoints::Extremes extremes = points_.extremes(begin, end);
        lowestValue = points_.at(extremes.lowest).value;
        highestValue = points_.at(extremes.highest).value;
    } else {
        const double first = points_.at(0).key;
        const double last = points_.at(points_.size() - 1).key;
        // Bars stand on their points, so the outer ones need half a step of room.
        double keyMargin = 0;
        if (series_->kind() == SeriesKind::Bar && points_.size() > 1)
            keyMargin = (last - first) / double(points_.size() - 1) / 2;
        if (last - first + 2 * keyMargin <= 0)
            keyMargin = 1;
        plot_->xAxis->setRange(first - keyMargin, last + keyMargin);
    }

    if (lowestValue > highestValue)
        return;
    double lowest = fromZero ? std::min(lowestValue, 0.0) : lowestValue;
    double highest = fromZero ? std::max(highestValue, 0.0) : highestValue;
    double valueMargin = (highest - lowest) * valueMarginShare;
    if (valueMargin <= 0)
        valueMargin = std::max(std::abs(highest) * valueMarginShare, 1.0);
    lowest -= valueMargin;
    highest += valueMargin;
    // Room for the marks of the highest points, which would otherwise be cut off.
    const double plotHeight = plot_->axisRect()->height();
    const double markHeight = marks_->heightAbovePoint();
    if (marks_->visible() && plotHeight > 2 * markHeight)
        highest += (highest - lowest) * markHeight / (plotHeight - markHeight);
    plot_->yAxis->setRange(lowest, highest);
}

void TChart::queueReplot()
{
    plot_->replot(QCustomPlot::rpQueuedReplot);
}
