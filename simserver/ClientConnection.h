#pragma once

// One client from its first packet to its last: picks the TDS version from how the client
// opens (PRELOGIN means 7.x, a login record means 5.0), checks the login, then runs batches.

#include "Engine.h"
#include "PacketChannel.h"

#include <cstdint>
#include <optional>
#include <string>

namespace simserver {

class ClientConnection {
public:
    // `password`: the one every user must give; nullopt accepts any.
    ClientConnection(int socket, Engine &engine, const std::optional<std::string> &password, std::uint16_t spid);
    void run();

private:
    PacketChannel channel_;
    Engine &engine_;
    const std::optional<std::string> &password_;
    std::uint16_t spid_;
};

} // namespace simserver
