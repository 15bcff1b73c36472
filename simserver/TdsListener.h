#pragma once

// Accepts clients on 127.0.0.1 and gives each its own thread and spid.

#include "Engine.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

namespace simserver {

class TdsListener {
public:
    TdsListener(Engine &engine, std::optional<std::string> password);
    ~TdsListener();
    TdsListener(const TdsListener &) = delete;
    TdsListener &operator=(const TdsListener &) = delete;

    // Binds `port` (0 picks a free one) and returns the port bound; throws std::runtime_error.
    int listen(int port);
    // Never returns while the socket is open.
    void serve();

private:
    Engine &engine_;
    const std::optional<std::string> password_;
    int socket_ = -1;
    std::atomic<std::uint16_t> nextSpid_{51};
};

} // namespace simserver
