#include "ClickEmitter.h"

#include <QMouseEvent>
#include <QWidget>

ClickEmitter::ClickEmitter(QWidget *watched) : QObject(watched)
{
    setProperty("Tag", watched->property("Tag"));
    watched->installEventFilter(this);
}

bool ClickEmitter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const auto *widget = static_cast<QWidget *>(watched);
        if (mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint()))
            emit clicked();
    }
    return QObject::eventFilter(watched, event);
}
