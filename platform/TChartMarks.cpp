#include "TChartMarks.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kArrowLength = 10;
constexpr double kArrowHead = 3;
constexpr double kBoxPadding = 2;
constexpr double kGapBetweenLabels = 4;
// No label is narrower than this many digit widths; it bounds how many points are visited.
constexpr int kNarrowestLabelDigits = 3;
const QColor kBoxColor(255, 255, 225);

} // namespace

TChartMarks::TChartMarks(QCPAxis *keyAxis, QCPAxis *valueAxis, QSharedPointer<QCPGraphDataContainer> points,
                         const QString &layerName)
    : QCPLayerable(keyAxis->parentPlot(), layerName),
      mKeyAxis(keyAxis),
      mValueAxis(valueAxis),
      mPoints(std::move(points))
{
}

void TChartMarks::applyDefaultAntialiasingHint(QCPPainter *painter) const
{
    applyAntialiasingHint(painter, mAntialiased, QCP::aePlottables);
}

QRect TChartMarks::clipRect() const
{
    return mKeyAxis->axisRect()->rect();
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
    const QPointF head[] = {point, point + QPointF(-kArrowHead, -kArrowHead * 2),
                            point + QPointF(kArrowHead, -kArrowHead * 2)};
    painter->drawPolygon(head, 3);
    painter->setBrush(kBoxColor);
    painter->drawRect(box);
    painter->drawText(box, Qt::AlignCenter, label);
}

void TChartMarks::draw(QCPPainter *painter)
{
    if (mPoints->isEmpty())
        return;
    const QCPRange range = mKeyAxis->range();
    const auto first = mPoints->findBegin(range.lower, false);
    const auto last = mPoints->findEnd(range.upper, false);
    const int inView = int(last - first);
    if (inView <= 0)
        return;

    painter->setFont(mParentPlot->font());
    const QFontMetricsF metrics(painter->font());
    const double narrowest = metrics.horizontalAdvance(QString(kNarrowestLabelDigits, QLatin1Char('0')))
                             + 2 * kBoxPadding + kGapBetweenLabels;
    const int fitting = std::max(1, int(mKeyAxis->axisRect()->width() / narrowest));
    const int stride = (inView + fitting - 1) / fitting;

    double freeFromX = -std::numeric_limits<double>::infinity();
    for (int index = 0; index < inView; index += stride) {
        const QCPGraphData &data = *(first + index);
        if (std::isnan(data.value))
            continue;
        const QPointF point(mKeyAxis->coordToPixel(data.key), mValueAxis->coordToPixel(data.value));
        const QString label = labelOf(data.value);
        const QSizeF size(metrics.horizontalAdvance(label) + 2 * kBoxPadding, metrics.height() + 2 * kBoxPadding);
        const QRectF box(point.x() - size.width() / 2, point.y() - kArrowLength - size.height(), size.width(),
                         size.height());
        // Uneven spacing can still bring two labels together; the later one gives way.
        if (box.left() < freeFromX)
            continue;
        drawMark(painter, point, box, label);
        freeFromX = box.right() + kGapBetweenLabels;
    }
}
