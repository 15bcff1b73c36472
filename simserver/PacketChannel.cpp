#include "PacketChannel.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace simserver {

namespace {
constexpr std::size_t headerSize = 8;
constexpr std::uint8_t endOfMessage = 0x01;
} // namespace

PacketChannel::PacketChannel(int socket) : socket_(socket) {}

PacketChannel::~PacketChannel() { ::close(socket_); }

bool PacketChannel::readExactly(std::uint8_t *into, std::size_t count)
{
    while (count > 0) {
        const ssize_t got = ::recv(socket_, into, count, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            closed_ = true;
            return false;
        }
        into += got;
        count -= static_cast<std::size_t>(got);
    }
    return true;
}

std::optional<Message> PacketChannel::readMessage()
{
    Message message;
    for (;;) {
        std::uint8_t header[headerSize];
        if (closed_ || !readExactly(header, headerSize))
            return std::nullopt;
        const std::size_t length = (header[2] << 8) | header[3];
        if (length < headerSize) {
            closed_ = true;
            return std::nullopt;
        }
        message.type = header[0];
        const std::size_t start = message.payload.size();
        message.payload.resize(start + length - headerSize);
        if (!readExactly(message.payload.data() + start, length - headerSize))
            return std::nullopt;
        if (header[1] & endOfMessage)
            return message;
    }
}

std::optional<Message> PacketChannel::receive()
{
    if (!held_.empty()) {
        Message message = std::move(held_.front());
        held_.pop_front();
        return message;
    }
    return readMessage();
}

bool PacketChannel::attentionArrived()
{
    while (!attention_ && !closed_) {
        pollfd watch{socket_, POLLIN, 0};
        if (::poll(&watch, 1, 0) <= 0)
            break;
        std::optional<Message> message = readMessage();
        if (!message)
            break;
        if (message->type == packet::attention)
            attention_ = true;
        else
            held_.push_back(std::move(*message));
    }
    return attention_ || closed_;
}

void PacketChannel::send(std::uint8_t type, const Bytes &payload)
{
    const std::size_t room = packetSize_ - headerSize;
    std::size_t offset = 0;
    do {
        const std::size_t chunk = std::min(room, payload.size() - offset);
        const bool last = offset + chunk == payload.size();
        Bytes packet;
        packet.reserve(headerSize + chunk);
        const std::size_t length = headerSize + chunk;
        packet.insert(packet.end(), {type, static_cast<std::uint8_t>(last ? endOfMessage : 0),
                                     static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length & 0xFF),
                                     static_cast<std::uint8_t>(spid_ >> 8), static_cast<std::uint8_t>(spid_ & 0xFF),
                                     nextPacketId_++, 0});
        packet.insert(packet.end(), payload.begin() + offset, payload.begin() + offset + chunk);
        std::size_t sent = 0;
        while (sent < packet.size()) {
            const ssize_t n = ::send(socket_, packet.data() + sent, packet.size() - sent, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                closed_ = true;
                return;
            }
            sent += static_cast<std::size_t>(n);
        }
        offset += chunk;
    } while (offset < payload.size());
}

} // namespace simserver
