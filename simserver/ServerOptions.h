#pragma once

// The command line: --persona ase|mssql --port N --password P --log FILE --db FILE --deterministic

#include "Engine.h"

#include <optional>
#include <string>

namespace simserver {

struct ServerOptions {
    EngineOptions engine;
    int port = 0;                        // 0: any free port
    std::optional<std::string> password; // nullopt: any password logs in

    // Throws std::invalid_argument with a message fit for the user.
    static ServerOptions parse(int argc, char **argv);
};

} // namespace simserver
