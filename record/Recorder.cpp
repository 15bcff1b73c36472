#include "Recorder.h"

#include "MetricsServer.h"
#include "RecordedSlot.h"

Recorder::Recorder(const QList<SlotConfig> &sections)
{
    for (const SlotConfig &config : sections)
        recorded_.push_back(std::make_unique<RecordedSlot>(config, state_, sbStatus_));
}

Recorder::~Recorder() = default;

QString Recorder::listen(const QString &addressAndPort)
{
    metricsServer_ = std::make_unique<MetricsServer>([this] { return metrics(); });
    return metricsServer_->listen(addressAndPort);
}

void Recorder::start()
{
    for (const auto &slot : recorded_)
        slot->start();
}

void Recorder::stop()
{
    for (const auto &slot : recorded_)
        slot->stop();
}

QList<SlotMetrics> Recorder::metrics() const
{
    QList<SlotMetrics> all;
    for (const auto &slot : recorded_)
        all << slot->metrics();
    return all;
}
