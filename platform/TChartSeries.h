#pragma once

#include <QColor>
#include <qcustomplot.h>

class TChartPoints;

enum class SeriesKind { FastLine, Line, Bar, Area, Point };

// A chart's series: one of the five kinds, drawn over a point store that the series replacing
// it on a change of kind takes over unchanged. Every kind is a graph so that adaptive sampling
// keeps a million points fast, bars included (thick impulses instead of one rectangle a point).
// Where a pixel column holds many points, the column's first, last, lowest and highest points
// come from the store's block extremes, so ten million points draw as fast as ten thousand and
// exactly as the graph would draw them by visiting each.
class TChartSeries : public QCPGraph {
    Q_OBJECT
public:
    TChartSeries(SeriesKind kind, QCPAxis *keyAxis, QCPAxis *valueAxis, const TChartPoints &points);

    SeriesKind kind() const { return kind_; }
    QColor color() const { return color_; }
    void setColor(const QColor &color);

protected:
    void draw(QCPPainter *painter) override;
    void drawFill(QCPPainter *painter, QVector<QPointF> *lines) const override;
    void getOptimizedLineData(QVector<QCPGraphData> *lineData, const QCPGraphDataContainer::const_iterator &begin,
                              const QCPGraphDataContainer::const_iterator &end) const override;
    void getOptimizedScatterData(QVector<QCPGraphData> *scatterData, QCPGraphDataContainer::const_iterator begin,
                                 QCPGraphDataContainer::const_iterator end) const override;

private:
    int pointsInView() const;
    bool sampled(qsizetype count, double pixelSpan) const;

    const TChartPoints &points_;
    SeriesKind kind_;
    QColor color_;
};
