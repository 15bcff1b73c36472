#include "ServerOptions.h"

#include <stdexcept>
#include <string_view>

namespace simserver {

ServerOptions ServerOptions::parse(int argc, char **argv)
{
    ServerOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        if (name == "--deterministic") {
            options.engine.deterministic = true;
            continue;
        }
        if (i + 1 >= argc)
            throw std::invalid_argument("missing value after " + std::string(name));
        const std::string value = argv[++i];
        if (name == "--persona") {
            if (value == "ase")
                options.engine.persona = Persona::Ase;
            else if (value == "mssql")
                options.engine.persona = Persona::MsSql;
            else
                throw std::invalid_argument("unknown persona " + value + " (ase or mssql)");
        } else if (name == "--port") {
            std::size_t used = 0;
            int port = -1;
            try {
                port = std::stoi(value, &used);
            } catch (const std::exception &) {
            }
            if (used != value.size() || port < 0 || port > 65535)
                throw std::invalid_argument("bad port " + value);
            options.port = port;
        } else if (name == "--password") {
            options.password = value;
        } else if (name == "--log") {
            options.engine.logFile = value;
        } else if (name == "--db") {
            options.engine.databaseFile = value;
        } else {
            throw std::invalid_argument("unknown option " + std::string(name));
        }
    }
    return options;
}

} // namespace simserver
