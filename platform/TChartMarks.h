#pragma once

#include <qcustomplot.h>

// Value marks of a chart's series: a boxed value above each point, with an arrow down to it.
// Works on the point store and axes rather than on the series so that it outlives a change of
// the series' kind. Only points in view are visited, and no more of them than labels fit side by
// side; the rest are skipped.
class TChartMarks : public QCPLayerable {
    Q_OBJECT
public:
    TChartMarks(QCPAxis *keyAxis, QCPAxis *valueAxis, QSharedPointer<QCPGraphDataContainer> points,
                const QString &layerName);

    // Room a mark needs above its point, in pixels.
    double heightAbovePoint() const;

protected:
    void applyDefaultAntialiasingHint(QCPPainter *painter) const override;
    QRect clipRect() const override;
    void draw(QCPPainter *painter) override;

private:
    QString labelOf(double value) const;
    void drawMark(QCPPainter *painter, const QPointF &point, const QRectF &box, const QString &label) const;

    QCPAxis *keyAxis_;
    QCPAxis *valueAxis_;
    QSharedPointer<QCPGraphDataContainer> points_;
};
