#include "TChartReadout.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QToolTip>
#include <cmath>

namespace {

constexpr int ringSize = 9;
// Between the point and the label's near corner.
constexpr int labelOffset = 10;

} // namespace

TChartReadout::TChartReadout(QCustomPlot *plot, QSharedPointer<QCPGraphDataContainer> points)
    : QObject(plot), plot_(plot), points_(std::move(points)), ring_(new QFrame(plot)), label_(new QLabel(plot))
{
    ring_->setObjectName(QStringLiteral("readoutRing"));
    ring_->setFixedSize(ringSize, ringSize);
    setRingColor(Qt::black);
    label_->setObjectName(QStringLiteral("readout"));
    label_->setFrameShape(QFrame::Box);
    label_->setMargin(3);
    label_->setAutoFillBackground(true);
    label_->setPalette(QToolTip::palette());
    label_->setTextFormat(Qt::PlainText);
    for (QWidget *part : {static_cast<QWidget *>(ring_), static_cast<QWidget *>(label_)}) {
        part->setAttribute(Qt::WA_TransparentForMouseEvents);
        part->hide();
    }
    plot_->setMouseTracking(true);
    plot_->installEventFilter(this);
    connect(plot_, &QCustomPlot::afterReplot, this, &TChartReadout::replotted);
}

void TChartReadout::setTextOf(TextOf textOf)
{
    textOf_ = std::move(textOf);
}

void TChartReadout::setRingColor(const QColor &color)
{
    ring_->setStyleSheet(QStringLiteral("border: 2px solid %1; border-radius: %2px; background: transparent;")
                             .arg(color.name())
                             .arg(ringSize / 2));
}

bool TChartReadout::isShown() const
{
    return point_ >= 0;
}

QString TChartReadout::text() const
{
    return isShown() ? label_->text() : QString();
}

bool TChartReadout::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto *move = static_cast<QMouseEvent *>(event);
        if (move->buttons() == Qt::NoButton)
            showAt(move->position().toPoint());
        else
            hide();
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::Leave:
    case QEvent::Hide:
        hide();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

int TChartReadout::nearestPoint(const QPoint &mouse) const
{
    // Points on the plot's edges lie a pixel outside it.
    const QRect area = plot_->axisRect()->rect().adjusted(-ringSize, -ringSize, ringSize, ringSize);
    if (points_->isEmpty() || !area.contains(mouse))
        return -1;
    const double key = plot_->xAxis->pixelToCoord(mouse.x());
    auto nearest = points_->findBegin(key, false);
    if (nearest == points_->constEnd() || (nearest != points_->constBegin() && key - (nearest - 1)->key < nearest->key - key))
        --nearest;
    // Samples taken within one second share their time: of those, the one nearest in value.
    const auto distance = [this, &mouse](QCPGraphDataContainer::const_iterator point) {
        return std::abs(plot_->yAxis->coordToPixel(point->value) - mouse.y());
    };
    const double time = nearest->key;
    auto best = nearest;
    for (auto same = points_->findBegin(time, false); same != points_->constEnd() && same->key == time; ++same) {
        if (distance(same) < distance(best))
            best = same;
    }
    return int(best - points_->constBegin());
}

void TChartReadout::showAt(const QPoint &mouse)
{
    mouse_ = mouse;
    const int point = nearestPoint(mouse);
    const QString text = point >= 0 && textOf_ ? textOf_(point) : QString();
    if (text.isEmpty())
        return hide();
    point_ = point;
    const QCPGraphData &data = *points_->at(point);
    const QPointF at(plot_->xAxis->coordToPixel(data.key), plot_->yAxis->coordToPixel(data.value));
    ring_->move(int(std::lround(at.x())) - ringSize / 2, int(std::lround(at.y())) - ringSize / 2);
    label_->setText(text);
    label_->adjustSize();
    // Above and to the right of the point, turned inwards where the plot ends.
    const QRect area = plot_->axisRect()->rect();
    int left = int(at.x()) + labelOffset;
    if (left + label_->width() > area.right())
        left = int(at.x()) - labelOffset - label_->width();
    int top = int(at.y()) - labelOffset - label_->height();
    if (top < area.top())
        top = int(at.y()) + labelOffset;
    left = std::clamp(left, 0, std::max(0, plot_->width() - label_->width()));
    top = std::clamp(top, 0, std::max(0, plot_->height() - label_->height()));
    label_->move(left, top);
    ring_->show();
    label_->show();
    ring_->raise();
    label_->raise();
}

void TChartReadout::hide()
{
    point_ = -1;
    ring_->hide();
    label_->hide();
}

void TChartReadout::replotted()
{
    if (isShown())
        showAt(mouse_);
}
