#pragma once

#include "TChartPoints.h"
#include "TChartSeries.h"

#include <QDateTime>
#include <QPointer>
#include <QWidget>
#include <functional>

class QCustomPlot;
class QCPTextElement;
class TChartMarks;
class TChartReadout;
class TChartZoom;

// A chart with one series over a date-time X axis, a title line above the plot and a foot line
// below it. Points are kept in ascending X order; redraws are coalesced into one per pass of the
// event loop, so adding a point costs little however many the chart holds.
class TChart : public QWidget {
    Q_OBJECT
public:
    explicit TChart(QWidget *parent = nullptr);

    SeriesKind seriesKind() const;
    // Replaces the series by one of the new kind that keeps its name, colour, marks and points.
    void setSeriesKind(SeriesKind kind);
    // The series itself, which only a change to another kind replaces.
    const TChartSeries *series() const { return series_; }

    QString seriesName() const;
    void setSeriesName(const QString &name);
    QColor seriesColor() const;
    void setSeriesColor(const QColor &color);
    bool marksVisible() const;
    void setMarksVisible(bool visible);

    // The point goes in after the last point whose X is not greater than its own.
    void addXY(const QDateTime &x, double y);
    void addXY(double secondsSinceEpoch, double y);
    void clearPoints();
    int pointCount() const;
    // X in seconds since the epoch, Y as added.
    QPointF point(int index) const;

    QString footText() const;
    void setFootText(const QString &text);
    QString titleText() const;
    // An empty title takes no room above the plot.
    void setTitleText(const QString &text);
    QColor backgroundColor() const { return backgroundColor_; }
    // Paints the panel around the plot; the plot itself stays white.
    void setBackgroundColor(const QColor &color);

    // Puts the widget over the whole chart and keeps it sized with it; its visibility stays the
    // caller's. Null removes it from that role without deleting it.
    void setFillChild(QWidget *child);
    QWidget *fillChild() const { return fillChild_; }

    // The time axis follows the newest point unless the mouse has zoomed or panned it.
    bool followsNewest() const;
    void followNewest();
    // The readout shown beside the point nearest the resting mouse, with the text the function
    // gives for a point index; none without one.
    void setReadoutText(std::function<QString(int point)> textOf);
    const TChartReadout &readout() const { return *readout_; }

signals:
    void doubleClicked();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void setUpAxes();
    void applyFont();
    void fitAxesToPoints();
    void queueReplot();

    QCustomPlot *plot_;
    TChartPoints points_;
    TChartSeries *series_;
    TChartMarks *marks_;
    TChartReadout *readout_;
    TChartZoom *zoom_;
    QCPTextElement *title_ = nullptr;
    QCPTextElement *foot_;
    QColor backgroundColor_;
    QPointer<QWidget> fillChild_;
    // Kept as points come so that fitting the axes never walks the points.
    double lowestValue_;
    double highestValue_;
};
