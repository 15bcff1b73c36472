#pragma once

#include <QObject>
#include <QPoint>
#include <QSharedPointer>
#include <qcustomplot.h>

// Where the time axis looks. It follows every point, the newest included, until the mouse wheel
// zooms it around the cursor or a drag pans it; from then on it is held where it was put while
// points keep coming, until a right click (or zooming out past every point) follows again.
class TChartZoom : public QObject {
    Q_OBJECT
public:
    TChartZoom(QCustomPlot *plot, QSharedPointer<QCPGraphDataContainer> points);

    bool isHeld() const { return held_; }
    void follow();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void zoom(const QPoint &mouse, double steps);
    void pan(const QPoint &mouse);
    void hold(const QCPRange &range);

    QCustomPlot *plot_;
    QSharedPointer<QCPGraphDataContainer> points_;
    bool held_ = false;
    // A left press not yet moved far enough to pan, so that clicks and double clicks stay clicks.
    bool pressed_ = false;
    bool panning_ = false;
    QPoint pressedAt_;
    QCPRange pressedRange_;
};
