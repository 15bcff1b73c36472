#include "TSplitterDrag.h"

#include <QMouseEvent>
#include <QRubberBand>
#include <QSplitter>
#include <algorithm>

TSplitterDrag::TSplitterDrag(QSplitter *splitter, int minimumSize, bool snap)
    : QObject(splitter), splitter_(splitter), minimumSize_(minimumSize), snap_(snap),
      // Beside the splitter, not in it: a splitter takes every child widget for a pane.
      feedback_(new QRubberBand(QRubberBand::Line, splitter->parentWidget()))
{
    for (int i = 1; i < splitter->count(); ++i) {
        splitter->handle(i)->installEventFilter(this);
        // Snapping to 0 needs the pane to be allowed to collapse; without snap it never does.
        splitter->setCollapsible(i, snap);
    }
    splitter->setCollapsible(0, false);
}

int TSplitterDrag::draggedSize(int startSize, int fillSize, int distance, int minimumSize, bool snap)
{
    const int largest = std::max(startSize, startSize + fillSize - minimumSize);
    const int size = std::max(minimumSize, std::min(startSize + distance, largest));
    return snap && size <= minimumSize ? 0 : size;
}

int TSplitterDrag::along(const QPointF &point) const
{
    return qRound(splitter_->orientation() == Qt::Horizontal ? point.x() : point.y());
}

bool TSplitterDrag::eventFilter(QObject *watched, QEvent *event)
{
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    if (type == QEvent::MouseButtonPress) {
        if (mouse->button() != Qt::LeftButton)
            return false;
        handleIndex_ = splitter_->indexOf(static_cast<QWidget *>(watched));
        pressedAt_ = along(mouse->globalPosition());
        startSizes_ = splitter_->sizes();
        return true;
    }
    if (handleIndex_ <= 0)
        return false;
    // The pane after the handle grows as the handle moves toward the fill pane before it.
    const int distance = pressedAt_ - along(mouse->globalPosition());
    const int size = draggedSize(startSizes_[handleIndex_], startSizes_[0], distance, minimumSize_, snap_);
    if (type == QEvent::MouseMove) {
        follow(size);
        return true;
    }
    if (mouse->button() != Qt::LeftButton)
        return true;
    feedback_->hide();
    // A click, or a drag back to where it began, leaves the sizes alone, even those below the minimum.
    if (distance != 0)
        apply(size);
    handleIndex_ = 0;
    return true;
}

void TSplitterDrag::follow(int size)
{
    if (splitter_->opaqueResize()) {
        apply(size);
        return;
    }
    const int shift = size - startSizes_[handleIndex_];
    QRect band = splitter_->handle(handleIndex_)->geometry().translated(splitter_->pos());
    if (splitter_->orientation() == Qt::Horizontal)
        band.translate(-shift, 0);
    else
        band.translate(0, -shift);
    feedback_->setGeometry(band);
    feedback_->raise();
    feedback_->show();
}

void TSplitterDrag::apply(int size)
{
    QList<int> sizes = startSizes_;
    sizes[0] -= size - sizes[handleIndex_];
    sizes[handleIndex_] = size;
    splitter_->setSizes(sizes);
}
