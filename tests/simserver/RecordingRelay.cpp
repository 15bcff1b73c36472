#include "RecordingRelay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr int idleLimitMs = 20000;

sockaddr_in loopback(quint16 port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}
} // namespace

RecordingRelay::RecordingRelay(quint16 serverPort) : serverPort_(serverPort)
{
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = loopback(0);
    ::bind(listener_, reinterpret_cast<sockaddr *>(&address), sizeof address);
    ::listen(listener_, 1);
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr *>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { relay(); });
}

RecordingRelay::~RecordingRelay()
{
    ::shutdown(listener_, SHUT_RDWR);
    if (thread_.joinable())
        thread_.join();
    ::close(listener_);
}

void RecordingRelay::relay()
{
    pollfd waiting{listener_, POLLIN, 0};
    if (::poll(&waiting, 1, idleLimitMs) <= 0 || !(waiting.revents & POLLIN))
        return;
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0)
        return;
    const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = loopback(serverPort_);
    if (::connect(server, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0) {
        pollfd ends[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
        char buffer[65536];
        bool open = true;
        while (open && ::poll(ends, 2, idleLimitMs) > 0) {
            for (int side = 0; side < 2 && open; ++side) {
                if (!(ends[side].revents & (POLLIN | POLLHUP | POLLERR)))
                    continue;
                const ssize_t got = ::recv(ends[side].fd, buffer, sizeof buffer, 0);
                if (got <= 0) {
                    open = false;
                    break;
                }
                chunks_.append({side == 0, QByteArray(buffer, int(got))});
                ::send(ends[1 - side].fd, buffer, size_t(got), MSG_NOSIGNAL);
            }
        }
    }
    ::close(server);
    ::close(client);
}

QByteArray RecordingRelay::text2pcapInput()
{
    if (thread_.joinable())
        thread_.join();
    QByteArray dump;
    for (const Chunk &chunk : chunks_) {
        dump += chunk.fromClient ? "O\n" : "I\n";
        for (qsizetype offset = 0; offset < chunk.bytes.size(); offset += 16) {
            dump += QByteArray::number(offset, 16).rightJustified(6, '0') + ' ';
            dump += chunk.bytes.mid(offset, 16).toHex(' ') + '\n';
        }
    }
    return dump;
}
