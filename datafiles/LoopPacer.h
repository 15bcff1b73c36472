#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QString>

class StatusPanels;

// Paces the window work of a loop over a million rows: the loop asks once per row, and pending
// events run and status panels repaint only when their time has come, so the window stays
// responsive (events at least every 50 ms, about 30 repaints a second) at a cost of nanoseconds
// per row.
class LoopPacer {
public:
    static constexpr qint64 eventsIntervalMs = 10;
    static constexpr qint64 repaintIntervalMs = 33;

    // "Written: " + index + " of " + count + "...", the writers' progress after each row.
    static QString progressText(qsizetype index, qsizetype count);

    // The panels whose texts the loop changes; they are the ones repainted. They must outlive
    // the pacer.
    explicit LoopPacer(const QList<StatusPanels *> &shown);

    // True when pending events should run now; the caller runs them with processEvents().
    bool eventsDue() const;
    void processEvents();
    void repaintWhenDue();
    // True when the panels are due a repaint; a loop that builds its status text only then asks.
    bool repaintDue() const;
    void repaintNow();

private:
    QList<StatusPanels *> shown_;
    QElapsedTimer clock_;
    qint64 lastEvents_ = 0;
    qint64 lastRepaint_ = 0;
};
