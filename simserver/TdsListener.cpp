#include "TdsListener.h"

#include "ClientConnection.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <stdexcept>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace simserver {

TdsListener::TdsListener(Engine &engine, std::optional<std::string> password)
    : engine_(engine), password_(std::move(password))
{
}

TdsListener::~TdsListener()
{
    if (socket_ >= 0)
        ::close(socket_);
}

int TdsListener::listen(int port)
{
    socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket_ < 0)
        throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
    // A restarted server must get its old port back while the previous connections linger.
    const int yes = 1;
    ::setsockopt(socket_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::bind(socket_, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 || ::listen(socket_, 64) != 0)
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno));
    socklen_t length = sizeof address;
    ::getsockname(socket_, reinterpret_cast<sockaddr *>(&address), &length);
    return ntohs(address.sin_port);
}

void TdsListener::serve()
{
    for (;;) {
        const int client = ::accept4(socket_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            if (errno == EINTR || errno == ECONNABORTED || errno == EMFILE || errno == ENFILE)
                continue;
            return;
        }
        const int yes = 1;
        ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        const std::uint16_t spid = nextSpid_++;
        std::thread([this, client, spid] {
            // A failure ends this client's connection, never the server.
            try {
                ClientConnection connection(client, engine_, password_, spid);
                connection.run();
            } catch (const std::exception &error) {
                std::fprintf(stderr, "quintaro-simserver: spid %d: %s\n", spid, error.what());
            }
        }).detach();
    }
}

} // namespace simserver
