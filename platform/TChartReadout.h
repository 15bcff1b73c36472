#pragma once

#include <QObject>
#include <QPoint>
#include <QSharedPointer>
#include <functional>
#include <qcustomplot.h>

class QFrame;
class QLabel;

// The readout beside the point nearest the resting mouse: a ring on the point and a label with
// the text its owner gives for that point. It follows the mouse and hides when the mouse leaves
// or a button is down. Both are child widgets over the plot, so moving them never replots the
// chart, and they let every click through to it.
class TChartReadout : public QObject {
    Q_OBJECT
public:
    // The text for the point at that index of the chart; empty shows no readout.
    using TextOf = std::function<QString(int point)>;

    TChartReadout(QCustomPlot *plot, QSharedPointer<QCPGraphDataContainer> points);

    void setTextOf(TextOf textOf);
    void setRingColor(const QColor &color);
    bool isShown() const;
    // The point shown and its text; -1 and empty while hidden.
    int point() const { return point_; }
    QString text() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The point nearest the mouse in time, or -1 when the mouse is outside the plot area.
    int nearestPoint(const QPoint &mouse) const;
    void showAt(const QPoint &mouse);
    void hide();
    // Points move when the axes are fitted again.
    void replotted();

    QCustomPlot *plot_;
    QSharedPointer<QCPGraphDataContainer> points_;
    TextOf textOf_;
    QFrame *ring_;
    QLabel *label_;
    int point_ = -1;
    QPoint mouse_;
};
