#include "PacketChannel.h"
#include "SimServer.h"
#include "TestRegistry.h"

#include <QTest>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

using simserver::Bytes;
using simserver::PacketChannel;
namespace packet = simserver::packet;

namespace {
int connectTo(quint16 port)
{
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    // A reply that never comes fails the test instead of hanging it.
    const timeval patience{10, 0};
    ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (::connect(socket, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
        return -1;
    return socket;
}

// The fixed TDS 5.0 login record with only the user and the packet size filled in.
Bytes loginRecord(const std::string &user)
{
    Bytes record(568, 0);
    std::copy(user.begin(), user.end(), record.begin() + 31);
    record[61] = static_cast<std::uint8_t>(user.size());
    const std::string packetSize = "512";
    std::copy(packetSize.begin(), packetSize.end(), record.begin() + 557);
    record[563] = static_cast<std::uint8_t>(packetSize.size());
    return record;
}
} // namespace

// Cases no driver produces on demand, spoken by hand with the server's own packet layer.
class SimServerRawWireTest : public QObject {
    Q_OBJECT
private slots:
    // A cancel that arrives after the results were complete still gets its acknowledgement,
    // or the client would wait for it forever.
    void attentionWhileIdleIsAcknowledged()
    {
        SimServer server;
        QVERIFY(server.start());
        const int socket = connectTo(server.port());
        QVERIFY(socket >= 0);
        PacketChannel client(socket);
        client.setPacketSize(512);
        client.send(packet::login, loginRecord("sa"));
        const std::optional<simserver::Message> loginReply = client.receive();
        QVERIFY(loginReply);
        QCOMPARE(loginReply->type, packet::reply);

        client.send(packet::attention, {});
        const std::optional<simserver::Message> acknowledgement = client.receive();
        QVERIFY(acknowledgement);
        // DONE with the attention bit, no count: token, status, transaction state, count.
        QCOMPARE(acknowledgement->payload, (Bytes{0xFD, 0x20, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));
    }
};

QUINTARO_TEST(SimServerRawWireTest)
#include "SimServerRawWireTest.moc"
