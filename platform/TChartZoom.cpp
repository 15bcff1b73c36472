#include "TChartZoom.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cmath>

namespace {

// Share of the span one notch of the wheel keeps.
constexpr double notchZoom = 0.8;
constexpr double degreesPerNotch = 15;
constexpr double eighthsPerDegree = 8;
// Narrower than this the time axis has no two whole seconds to label.
constexpr double narrowestSpanSeconds = 2;

} // namespace

TChartZoom::TChartZoom(QCustomPlot *plot, QSharedPointer<QCPGraphDataContainer> points)
    : QObject(plot), plot_(plot), points_(std::move(points))
{
    plot_->installEventFilter(this);
}

void TChartZoom::follow()
{
    if (!held_)
        return;
    held_ = false;
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

void TChartZoom::hold(const QCPRange &range)
{
    held_ = true;
    plot_->xAxis->setRange(range);
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

bool TChartZoom::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Wheel: {
        const auto *wheel = static_cast<QWheelEvent *>(event);
        const double steps = wheel->angleDelta().y() / eighthsPerDegree / degreesPerNotch;
        if (steps != 0)
            zoom(wheel->position().toPoint(), steps);
        return true;
    }
    case QEvent::MouseButtonPress: {
        const auto *press = static_cast<QMouseEvent *>(event);
        if (press->button() == Qt::LeftButton && !points_->isEmpty()) {
            pressed_ = true;
            panning_ = false;
            pressedAt_ = press->position().toPoint();
            pressedRange_ = plot_->xAxis->range();
        }
        break;
    }
    case QEvent::MouseMove: {
        const auto *move = static_cast<QMouseEvent *>(event);
        if (pressed_ && (move->buttons() & Qt::LeftButton))
            pan(move->position().toPoint());
        break;
    }
    case QEvent::MouseButtonRelease: {
        const auto *release = static_cast<QMouseEvent *>(event);
        if (release->button() == Qt::LeftButton)
            pressed_ = panning_ = false;
        else if (release->button() == Qt::RightButton)
            follow();
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void TChartZoom::zoom(const QPoint &mouse, double steps)
{
    if (points_->isEmpty() || !plot_->axisRect()->rect().contains(mouse))
        return;
    const QCPRange range = plot_->xAxis->range();
    const double centre = plot_->xAxis->pixelToCoord(mouse.x());
    double share = std::pow(notchZoom, steps);
    if (range.size() * share < narrowestSpanSeconds)
        share = narrowestSpanSeconds / range.size();
    const QCPRange zoomed(centre - (centre - range.lower) * share, centre + (range.upper - centre) * share);
    const double first = points_->constBegin()->key;
    const double last = (points_->constEnd() - 1)->key;
    // Zoomed out past every point, there is nothing left to hold.
    if (steps < 0 && zoomed.lower <= first && zoomed.upper >= last) {
        held_ = false;
        plot_->replot(QCustomPlot::rpQueuedReplot);
        return;
    }
    hold(zoomed);
}

void TChartZoom::pan(const QPoint &mouse)
{
    const QPoint moved = mouse - pressedAt_;
    if (!panning_ && moved.manhattanLength() < QApplication::startDragDistance())
        return;
    panning_ = true;
    const double keysPerPixel = pressedRange_.size() / std::max(1, plot_->axisRect()->width());
    const double shift = -moved.x() * keysPerPixel;
    hold(QCPRange(pressedRange_.lower + shift, pressedRange_.upper + shift));
}
