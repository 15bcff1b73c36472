#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM and SIGINT as a Qt signal on the main thread: the handler only writes a byte into a
// socket pair that the event loop watches.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received();

private:
    QSocketNotifier *notifier_ = nullptr;
};
