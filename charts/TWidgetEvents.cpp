#include "TWidgetEvents.h"

#include <QMouseEvent>
#include <QWidget>

TWidgetEvents::TWidgetEvents(QWidget *widget) : QObject(widget)
{
    widget->installEventFilter(this);
}

TWidgetEvents *TWidgetEvents::of(QWidget *widget)
{
    if (auto *existing = widget->findChild<TWidgetEvents *>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new TWidgetEvents(widget);
}

bool TWidgetEvents::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        emit resized();
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton
            && static_cast<QWidget *>(watched)->rect().contains(mouse->position().toPoint()))
            emit clicked();
    }
    return false;
}
