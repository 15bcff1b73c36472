#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// What a slot tells Prometheus about itself.
struct SlotMetrics {
    QString slot;
    QString server;
    // The last value, or its change since the sample before with Delta=yes; none before the
    // first (or, with Delta, the second) sample that is a number.
    std::optional<double> value;
    // From the tick to the recorded value: the server's time and the program's.
    std::optional<double> durationSeconds;
    quint64 samples = 0;
    quint64 failures = 0; // samples, logins and file writes that failed
};

// The Prometheus text exposition format (version 0.0.4) of every slot's metrics.
QByteArray prometheusText(const QList<SlotMetrics> &all);
