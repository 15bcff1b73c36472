#include "LoopPacer.h"

#include "StatusPanels.h"

#include <QCoreApplication>
#include <QStringBuilder>

QString LoopPacer::progressText(qsizetype index, qsizetype count)
{
    // Built in one piece: it is made a million times in a long save.
    char16_t digits[2][24];
    const auto decimal = [](qsizetype value, char16_t *buffer) {
        char16_t *end = buffer + 24;
        char16_t *at = end;
        do {
            *--at = char16_t(u'0' + value % 10);
            value /= 10;
        } while (value > 0);
        return QStringView(at, end);
    };
    return u"Written: " % decimal(index, digits[0]) % u" of " % decimal(count, digits[1]) % u"...";
}

LoopPacer::LoopPacer(const QList<StatusPanels *> &shown) : shown_(shown)
{
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
    if (repaintDue())
        repaintNow();
}

bool LoopPacer::repaintDue() const
{
    return clock_.elapsed() - lastRepaint_ >= repaintIntervalMs;
}

void LoopPacer::repaintNow()
{
    for (StatusPanels *panels : shown_)
        panels->repaintNow();
    lastRepaint_ = clock_.elapsed();
}
