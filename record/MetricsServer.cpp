#include "MetricsServer.h"

#include <QHostAddress>
#include <QHttpServer>
#include <QHttpServerResponse>
#include <stdexcept>

MetricsServer::MetricsServer(Source source) : server_(std::make_unique<QHttpServer>())
{
    server_->route(QStringLiteral("/metrics"), [source = std::move(source)] {
        return QHttpServerResponse(QByteArrayLiteral("text/plain; version=0.0.4; charset=utf-8"),
                                   prometheusText(source()));
    });
}

MetricsServer::~MetricsServer() = default;

QString MetricsServer::listen(const QString &addressAndPort)
{
    const qsizetype colon = addressAndPort.lastIndexOf(u':');
    QString host = addressAndPort.left(std::max<qsizetype>(colon, 0));
    if (host.startsWith(u'[') && host.endsWith(u']'))
        host = host.mid(1, host.size() - 2);
    bool isNumber = false;
    const uint port = addressAndPort.mid(colon + 1).toUInt(&isNumber);
    const QHostAddress address(host);
    if (colon < 0 || address.isNull() || !isNumber || port > 65535)
        throw std::invalid_argument(QStringLiteral("--listen takes ADDRESS:PORT, such as 127.0.0.1:9464, not \"%1\"")
                                        .arg(addressAndPort)
                                        .toStdString());
    const quint16 listening = server_->listen(address, quint16(port));
    if (listening == 0)
        throw std::invalid_argument(QStringLiteral("cannot listen on %1").arg(addressAndPort).toStdString());
    const QString shown =
        address.protocol() == QAbstractSocket::IPv6Protocol ? u'[' + address.toString() + u']' : address.toString();
    return shown + u':' + QString::number(listening);
}
