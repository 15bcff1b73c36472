#include "TChartSeries.h"

#include "TChartPoints.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <limits>

namespace {

// Line markers only while each point has at least this many pixels to itself.
constexpr int pixelsPerMarkedPoint = 8;
constexpr double markerSize = 5;
constexpr double pointSize = 5;
// Share of the distance between two points that a bar covers.
constexpr double barFill = 0.7;
constexpr int areaAlpha = 128;

// First index in [from, to) whose key is not below bound, searched outwards from `from`: a pixel
// column's points lie close together.
qsizetype firstAtOrAfter(const TChartPoints &points, double bound, qsizetype from, qsizetype to)
{
    qsizetype low = from;
    qsizetype high = from;
    for (qsizetype step = 1; high < to && points.at(high).key < bound; step *= 2) {
        low = high + 1;
        high = std::min(to, high + step);
    }
    const auto start = points.store()->constBegin();
    return std::partition_point(start + low, start + high, [bound](const QCPGraphData &p) { return p.key < bound; })
           - start;
}

// The pixel columns the graph's adaptive sampling cuts the key axis into: each starts at the
// pixel of its first point and takes the points less than a pixel after that pixel's start.
class PixelColumns {
public:
    PixelColumns(const QCPAxis &keyAxis, double firstKey)
        : axis_(keyAxis), round_(keyAxis.pixelOrientation() == -1 ? 1 : 0)
    {
        start_ = startOf(firstKey);
        epsilon_ = qAbs(start_ - axis_.pixelToCoord(axis_.coordToPixel(start_) + 1.0 * axis_.pixelOrientation()));
    }
    double start() const { return start_; }
    double epsilon() const { return epsilon_; }
    void moveTo(double key) { start_ = startOf(key); }

private:
    double startOf(double key) const { return axis_.pixelToCoord(int(axis_.coordToPixel(key) + round_)); }

    const QCPAxis &axis_;
    int round_;
    double start_;
    double epsilon_;
};

// A dense column of points draws dozens of discs; stamping one drawn disc costs a fraction of
// drawing each antialiased ellipse.
QPixmap discPixmap(const QColor &color)
{
    constexpr int side = int(pointSize) + 3;
    QPixmap disc(side, side);
    disc.fill(Qt::transparent);
    QPainter painter(&disc);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, 1));
    painter.setBrush(color);
    painter.drawEllipse(QPointF(side / 2.0, side / 2.0), pointSize / 2, pointSize / 2);
    return disc;
}

} // namespace

TChartSeries::TChartSeries(SeriesKind kind, QCPAxis *keyAxis, QCPAxis *valueAxis, const TChartPoints &points)
    : QCPGraph(keyAxis, valueAxis), points_(points), kind_(kind)
{
    setData(points.store());
    // Without it a replot of a million points takes ten times as long.
    setAdaptiveSampling(true);
    switch (kind_) {
    case SeriesKind::FastLine:
        setLineStyle(lsLine);
        setAntialiased(false);
        break;
    case SeriesKind::Line:
        setLineStyle(lsLine);
        break;
    case SeriesKind::Area:
        setLineStyle(lsLine);
        // The line is drawn over the fill's edge; an antialiased edge under it only costs time,
        // most where every pixel column spans the chart's height.
        setAntialiasedFill(false);
        break;
    case SeriesKind::Bar:
        setLineStyle(lsImpulse);
        setAntialiased(false);
        break;
    case SeriesKind::Point:
        setLineStyle(lsNone);
        break;
    }
    setColor(Qt::red);
}

void TChartSeries::setColor(const QColor &color)
{
    color_ = color;
    const double penWidth = kind_ == SeriesKind::Line ? 2 : 1;
    setPen(QPen(color, penWidth));
    if (kind_ == SeriesKind::Area) {
        QColor fill = color;
        fill.setAlpha(areaAlpha);
        setBrush(fill);
    }
    if (kind_ == SeriesKind::Point)
        setScatterStyle(QCPScatterStyle(discPixmap(color)));
}

int TChartSeries::pointsInView() const
{
    const QCPRange range = keyAxis()->range();
    return int(mDataContainer->findEnd(range.upper) - mDataContainer->findBegin(range.lower));
}

void TChartSeries::draw(QCPPainter *painter)
{
    const double width = keyAxis()->axisRect()->width();
    if (kind_ == SeriesKind::Line) {
        const bool sparse = pointsInView() * pixelsPerMarkedPoint <= width;
        setScatterStyle(sparse ? QCPScatterStyle(QCPScatterStyle::ssCircle, color_, Qt::white, markerSize)
                               : QCPScatterStyle());
    } else if (kind_ == SeriesKind::Bar) {
        const double spacing = width / (pointsInView() + 1);
        QPen pen = this->pen();
        pen.setWidthF(std::max(1.0, spacing * barFill));
        setPen(pen);
    }
    QCPGraph::draw(painter);
}

// A dense area's fill reaches, in every pixel column, from the base to the column's point
// farthest from it; filling the polygon through that point alone covers the same pixels without
// edges that run up and down the column's height, which Qt takes long to fill.
void TChartSeries::drawFill(QCPPainter *painter, QVector<QPointF> *lines) const
{
    if (kind_ != SeriesKind::Area || !lines || lines->size() <= keyAxis()->axisRect()->width())
        return QCPGraph::drawFill(painter, lines);
    QVector<QPointF> outline;
    outline.reserve(lines->size() / 2);
    double columnStart = std::numeric_limits<double>::quiet_NaN();
    for (const QPointF &point : std::as_const(*lines)) {
        if (!outline.isEmpty() && point.x() - columnStart < 1 && !qIsNaN(point.y()) && !qIsNaN(outline.last().y())) {
            const double base = getFillBasePoint(point).y();
            if (qAbs(point.y() - base) > qAbs(outline.last().y() - base))
                outline.last().setY(point.y());
            continue;
        }
        columnStart = point.x();
        outline.append(point);
    }
    QCPGraph::drawFill(painter, &outline);
}

// The graph samples only where the points outnumber twice the pixels they span, and on a linear
// axis only are its pixel columns all one width; anywhere else it draws as it would.
bool TChartSeries::sampled(qsizetype count, double pixelSpan) const
{
    return mAdaptiveSampling && mKeyAxis && mValueAxis && mKeyAxis->scaleType() == QCPAxis::stLinear
           && mDataContainer == points_.store() && 2 * pixelSpan + 2 < double(std::numeric_limits<int>::max())
           && double(count) >= double(int(2 * pixelSpan + 2));
}

// The graph's own line sampling, column by column instead of point by point: a column of several
// points becomes its first value, its lowest, its highest and (before a gap) its last value.
void TChartSeries::getOptimizedLineData(QVector<QCPGraphData> *lineData,
                                        const QCPGraphDataContainer::const_iterator &begin,
                                        const QCPGraphDataContainer::const_iterator &end) const
{
    if (!lineData || begin == end
        || !sampled(end - begin, qAbs(mKeyAxis->coordToPixel(begin->key) - mKeyAxis->coordToPixel((end - 1)->key))))
        return QCPGraph::getOptimizedLineData(lineData, begin, end);

    const qsizetype last = end - points_.store()->constBegin();
    qsizetype first = begin - points_.store()->constBegin();
    PixelColumns column(*mKeyAxis, begin->key);
    const double epsilon = column.epsilon();
    double lastColumnEnd = column.start();
    for (;;) {
        const double start = column.start();
        const qsizetype next = firstAtOrAfter(points_, start + epsilon, first + 1, last);
        if (next - first >= 2) {
            const TChartPoints::Extremes extremes = points_.extremes(first, next);
            if (lastColumnEnd < start - epsilon)
                lineData->append(QCPGraphData(start + epsilon * 0.2, points_.at(first).value));
            lineData->append(QCPGraphData(start + epsilon * 0.25, points_.at(extremes.lowest).value));
            lineData->append(QCPGraphData(start + epsilon * 0.75, points_.at(extremes.highest).value));
            if (next < last && points_.at(next).key > start + epsilon * 2)
                lineData->append(QCPGraphData(start + epsilon * 0.8, points_.at(next - 1).value));
        } else {
            lineData->append(points_.at(first));
        }
        if (next == last)
            return;
        lastColumnEnd = points_.at(next - 1).key;
        first = next;
        column.moveTo(points_.at(first).key);
    }
}

// The graph's own scatter sampling, column by column: a column of several points shows every
// k-th of them, k chosen for a point about every four pixels of the column's height, and its
// lowest and highest. A column of one value shows its first and last point where the graph would
// pile every one of them onto the same pixels.
void TChartSeries::getOptimizedScatterData(QVector<QCPGraphData> *scatterData,
                                           QCPGraphDataContainer::const_iterator begin,
                                           QCPGraphDataContainer::const_iterator end) const
{
    if (!scatterData || begin == end || mScatterSkip > 0
        || !sampled(end - begin,
                    int(qAbs(mKeyAxis->coordToPixel(begin->key) - mKeyAxis->coordToPixel((end - 1)->key)))))
        return QCPGraph::getOptimizedScatterData(scatterData, begin, end);
    const qsizetype last = end - points_.store()->constBegin();
    qsizetype first = begin - points_.store()->constBegin();
    // The graph leaves out points outside the value range; when none is, every column is whole.
    const QCPRange values = mValueAxis->range();
    const TChartPoints::Extremes all = points_.extremes(first, last);
    if (!(points_.at(all.lowest).value > values.lower && points_.at(all.highest).value < values.upper))
        return QCPGraph::getOptimizedScatterData(scatterData, begin, end);

    PixelColumns column(*mKeyAxis, begin->key);
    const double epsilon = column.epsilon();
    for (;;) {
        const qsizetype next = firstAtOrAfter(points_, column.start() + epsilon, first + 1, last);
        const int count = int(next - first);
        if (count >= 2) {
            const TChartPoints::Extremes extremes = points_.extremes(first, next);
            const double lowest = points_.at(extremes.lowest).value;
            const double highest = points_.at(extremes.highest).value;
            const double pixelSpan = qAbs(mValueAxis->coordToPixel(lowest) - mValueAxis->coordToPixel(highest));
            if (pixelSpan > 0) {
                const qsizetype every = qMax(1, qRound(count / (pixelSpan / 4.0)));
                // Straight from one point shown to the next.
                qsizetype regular = first;
                for (qsizetype index = first; index < next;) {
                    scatterData->append(points_.at(index));
                    while (regular <= index)
                        regular += every;
                    qsizetype following = regular;
                    for (const qsizetype extreme : {extremes.lowest, extremes.highest}) {
                        if (extreme > index && extreme < following)
                            following = extreme;
                    }
                    index = following;
                }
            } else {
                scatterData->append(points_.at(first));
                scatterData->append(points_.at(next - 1));
            }
        } else {
            scatterData->append(points_.at(first));
        }
        if (next == last)
            return;
        first = next;
        column.moveTo(points_.at(first).key);
    }
}

