#include "LoopPacer.h"

#include <QCoreApplication>

LoopPacer::LoopPacer(const QList<QWidget *> &shown)
{
    for (QWidget *widget : shown)
        shown_.append(widget);
    clock_.start();
}

bool LoopPacer::eventsDue() const
{
    return clock_.elapsed() - lastEvents_ >= eventsIntervalMs;
}

void LoopPacer::processEvents()
{
    QCoreApplication::processEvents();
    lastEvents_ = clock_.elapsed();
}

void LoopPacer::repaintWhenDue()
{
    if (clock_.elapsed() - lastRepaint_ >= repaintIntervalMs)
        repaintNow();
}

void LoopPacer::repaintNow()
{
    for (const QPointer<QWidget> &widget : shown_) {
        if (widget)
            widget->repaint();
    }
    lastRepaint_ = clock_.elapsed();
}
