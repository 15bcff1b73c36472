#include "TChartMarks.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double arrowLength = 10;
constexpr double arrowHead = 3;
constexpr double boxPadding = 2;
constexpr double gapBetweenLabels = 4;
// Labels count as at least this many digits wide when bounding how many points are visited.
constexpr int narrowestLabelDigits = 3;
constexpr int visitsPerLabel = 4;
const QColor boxColor(255, 255, 225);

} // namespace

TChartMarks::TChartMarks(QCPAxis *keyAxis, QCPAxis *valueAxis, QSharedPointer<QCPGraphDataContainer> points,
                         const QString &layerName)
    : QCPLayerable(keyAxis->parentPlot(), layerName),
      keyAxis_(keyAxis),
      valueAxis_(valueAxis),
      points_(std::move(points))
{
}

void TChartMarks::applyDefaultAntialiasingHint(QCPPainter *painter) const
{
    applyAntialiasingHint(painter, mAntialiased, QCP::aePlottables);
}

QRect TChartMarks::clipRect() const
{
    return keyAxis_->axisRect()->rect();
}

QString TChartMarks::labelOf(double value) const
{
    const QLocale locale;
    QString text = locale.toString(value, 'f', 3);
    while (text.endsWith(locale.zeroDigit()))
        text.chop(1);
    if (text.endsWith(locale.decimalPoint()))
        text.chop(locale.decimalPoint().size());
    return text;
}

void TChartMarks::drawMark(QCPPainter *painter, const QPointF &point, const QRectF &box, const QString &label) const
{
    painter->setPen(QPen(Qt::black, 0));
    painter->drawLine(point, QPointF(point.x(), box.bottom()));
    painter->setBrush(Qt::black);
    const QPointF head[] = {point, point + QPointF(-arrowHead, -arrowHead * 2),
                            point + QPointF(arrowHead, -arrowHead * 2)};
    painter->drawPolygon(head, 3);
    painter->setBrush(boxColor);
    painter->drawRect(box);
    painter->drawText(box, Qt::AlignCenter, label);
}

double TChartMarks::heightAbovePoint() const
{
    return arrowLength + QFontMetricsF(mParentPlot->font()).height() + 2 * boxPadding;
}

void TChartMarks::draw(QCPPainter *painter)
{
    if (points_->isEmpty())
        return;
    const QCPRange range = keyAxis_->range();
    const auto first = points_->findBegin(range.lower, false);
    const auto last = points_->findEnd(range.upper, false);
    const int inView = int(last - first);
    if (inView <= 0)
        return;

    painter->setFont(mParentPlot->font());
    const QFontMetricsF metrics(painter->font());
    const QRect area = keyAxis_->axisRect()->rect();
    const double narrowest = metrics.horizontalAdvance(QString(narrowestLabelDigits, QLatin1Char('0')))
                             + 2 * boxPadding + gapBetweenLabels;
    // Visit a few times more points than labels fit, so that wider labels still find room.
    const int visits = std::max(1, int(visitsPerLabel * area.width() / narrowest));
    const int stride = (inView + visits - 1) / visits;

    double freeFromX = -std::numeric_limits<double>::infinity();
    for (int index = 0; index < inView; index += stride) {
        const QCPGraphData &data = *(first + index);
        if (std::isnan(data.value))
            continue;
        const QPointF point(keyAxis_->coordToPixel(data.key), valueAxis_->coordToPixel(data.value));
        const QString label = labelOf(data.value);
        const QSizeF size(metrics.horizontalAdvance(label) + 2 * boxPadding, metrics.height() + 2 * boxPadding);
        // A label at an edge is pushed inside rather than cut.
        const double left = std::clamp(point.x() - size.width() / 2, double(area.left()),
                                       std::max(double(area.left()), area.right() - size.width()));
        const QRectF box(left, point.y() - arrowLength - size.height(), size.width(), size.height());
        // Uneven spacing can still bring two labels together; the later one gives way.
        if (box.left() < freeFromX)
            continue;
        drawMark(painter, point, box, label);
        freeFromX = box.right() + gapBetweenLabels;
    }
}
