#pragma once

#include "SlotMetrics.h"

#include <QString>
#include <functional>
#include <memory>

class QHttpServer;

// Serves GET /metrics in the Prometheus text format over Qt's HTTP server.
class MetricsServer {
public:
    using Source = std::function<QList<SlotMetrics>()>;

    explicit MetricsServer(Source source);
    ~MetricsServer();

    // "ADDRESS:PORT", an IPv6 address in brackets ("[::1]:9464"); port 0 takes a free one.
    // Returns the address and port listened on, or raises std::invalid_argument.
    QString listen(const QString &addressAndPort);

private:
    std::unique_ptr<QHttpServer> server_;
};
