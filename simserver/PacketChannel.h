#pragma once

// One client socket seen as TDS messages: packets are collected up to the end-of-message bit
// and replies are cut to the negotiated packet size. While a batch runs the socket is still
// watched, so an ATTENTION from the client is noticed without waiting for the batch to end.

#include "ByteWriter.h"

#include <cstdint>
#include <deque>
#include <optional>

namespace simserver {

namespace packet {
constexpr std::uint8_t sqlBatch = 0x01;
constexpr std::uint8_t login = 0x02;
constexpr std::uint8_t rpc = 0x03;
constexpr std::uint8_t reply = 0x04;
constexpr std::uint8_t attention = 0x06;
constexpr std::uint8_t transactionManager = 0x0E;
constexpr std::uint8_t tokens = 0x0F;
constexpr std::uint8_t login7 = 0x10;
constexpr std::uint8_t prelogin = 0x12;
} // namespace packet

struct Message {
    std::uint8_t type = 0;
    Bytes payload;
};

class PacketChannel {
public:
    explicit PacketChannel(int socket);
    ~PacketChannel();
    PacketChannel(const PacketChannel &) = delete;
    PacketChannel &operator=(const PacketChannel &) = delete;

    // Blocks for the next whole message; nullopt once the client has gone.
    std::optional<Message> receive();
    // Never blocks while nothing arrives. Messages other than ATTENTION are kept for receive().
    // A vanished client counts as a cancel: nobody is left to read the results.
    bool attentionArrived();
    void clearAttention() { attention_ = false; }

    void send(std::uint8_t type, const Bytes &payload);
    void setPacketSize(std::size_t size) { packetSize_ = size; }
    void setSpid(std::uint16_t spid) { spid_ = spid; }

private:
    std::optional<Message> readMessage();
    bool readExactly(std::uint8_t *into, std::size_t count);

    int socket_;
    std::size_t packetSize_ = 4096;
    std::uint16_t spid_ = 0;
    std::uint8_t nextPacketId_ = 1;
    std::deque<Message> held_;
    bool attention_ = false;
    bool closed_ = false;
};

} // namespace simserver
