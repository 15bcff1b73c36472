#include "TChartSeries.h"

#include <algorithm>

namespace {

// Line markers only while each point has at least this many pixels to itself.
constexpr int kPixelsPerMarkedPoint = 8;
constexpr double kMarkerSize = 5;
constexpr double kPointSize = 5;
// Share of the distance between two points that a bar covers.
constexpr double kBarFill = 0.7;
constexpr int kAreaAlpha = 128;

} // namespace

TChartSeries::TChartSeries(SeriesKind kind, QCPAxis *keyAxis, QCPAxis *valueAxis)
    : QCPGraph(keyAxis, valueAxis), mKind(kind)
{
    // Without it a replot of a million points takes ten times as long.
    setAdaptiveSampling(true);
    switch (mKind) {
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
    mColor = color;
    const double penWidth = mKind == SeriesKind::Line ? 2 : 1;
    setPen(QPen(color, penWidth));
    if (mKind == SeriesKind::Area) {
        QColor fill = color;
        fill.setAlpha(kAreaAlpha);
        setBrush(fill);
    }
    if (mKind == SeriesKind::Point)
        setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, color, color, kPointSize));
}

int TChartSeries::pointsInView() const
{
    const QCPRange range = keyAxis()->range();
    return int(mDataContainer->findEnd(range.upper) - mDataContainer->findBegin(range.lower));
}

void TChartSeries::draw(QCPPainter *painter)
{
    const double width = keyAxis()->axisRect()->width();
    if (mKind == SeriesKind::Line) {
        const bool sparse = pointsInView() * kPixelsPerMarkedPoint <= width;
        setScatterStyle(sparse ? QCPScatterStyle(QCPScatterStyle::ssCircle, mColor, Qt::white, kMarkerSize)
                               : QCPScatterStyle());
    } else if (mKind == SeriesKind::Bar) {
        const double spacing = width / (pointsInView() + 1);
        QPen pen = this->pen();
        pen.setWidthF(std::max(1.0, spacing * kBarFill));
        setPen(pen);
    }
    QCPGraph::draw(painter);
}
