#pragma once

#include <QColor>
#include <qcustomplot.h>

enum class SeriesKind { FastLine, Line, Bar, Area, Point };

// A chart's series: one of the five kinds, drawn over a point store that the series replacing
// it on a change of kind takes over unchanged. Every kind is a graph so that adaptive sampling
// keeps a million points fast, bars included (thick impulses instead of one rectangle a point).
class TChartSeries : public QCPGraph {
    Q_OBJECT
public:
    TChartSeries(SeriesKind kind, QCPAxis *keyAxis, QCPAxis *valueAxis);

    SeriesKind kind() const { return kind_; }
    QColor color() const { return color_; }
    void setColor(const QColor &color);

protected:
    void draw(QCPPainter *painter) override;

private:
    int pointsInView() const;

    SeriesKind kind_;
    QColor color_;
};
