#pragma once

#include "PanelTexts.h"
#include "SlotConfig.h"
#include "SlotMetrics.h"
#include "TWindowState.h"

#include <QList>
#include <QStringList>
#include <memory>
#include <vector>

class MetricsServer;
class RecordedSlot;

// The slots of one INI file, each on its own connection, and the metrics they serve.
class Recorder {
public:
    explicit Recorder(const QList<SlotConfig> &sections);
    ~Recorder();

    // Serves /metrics; returns where, or raises std::invalid_argument.
    QString listen(const QString &addressAndPort);
    void start();
    void stop();

    QList<SlotMetrics> metrics() const;

private:
    // The window-wide state and main status bar that Run and the tick expect.
    QStringList scratch_;
    TWindowState state_{scratch_};
    PanelTexts sbStatus_;
    std::vector<std::unique_ptr<RecordedSlot>> recorded_;
    std::unique_ptr<MetricsServer> metricsServer_;
};
