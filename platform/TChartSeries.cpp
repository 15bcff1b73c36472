#include "TChartSeries.h"

#include <algorithm>

namespace {

// Line markers only while each point has at least this many pixels to itself.
constexpr int pixelsPerMarkedPoint = 8;
constexpr double markerSize = 5;
constexpr double pointSize = 5;
// Share of the distance between two points that a bar covers.
constexpr double barFill = 0.7;
constexpr int areaAlpha = 128;

} // namespace

TChartSeries::TChartSeries(SeriesKind kind, QCPAxis *keyAxis, QCPAxis *valueAxis)
    : QCPGraph(keyAxis, valueAxis), kind_(kind)
{
    // Without it a replot of a million points takes ten times as long.
    setAdaptiveSampling(true);
    switch (kind_) {
    case SeriesKind::FastLine:
        setLineStyle(lsLine);
        setAntialiased(false);
        break;
    case SeriesKind::Line:
    case SeriesKind::Area:
        setLineStyle(lsLine);
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
        setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, color, color, pointSize));
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
