// quintaro-simserver: a TDS 7.4 / TDS 5.0 server answering from SQLite, for tests and the demo.
// Prints "ready <port>" once clients can connect; SIGTERM ends it at once.

#include "Engine.h"
#include "ServerOptions.h"
#include "TdsListener.h"

#include <csignal>
#include <cstdio>
#include <exception>

int main(int argc, char **argv)
{
    std::signal(SIGPIPE, SIG_IGN);
    try {
        const simserver::ServerOptions options = simserver::ServerOptions::parse(argc, argv);
        simserver::Engine engine(options.engine);
        simserver::TdsListener listener(engine, options.password);
        const int port = listener.listen(options.port);
        std::printf("ready %d\n", port);
        std::fflush(stdout);
        listener.serve();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "quintaro-simserver: %s\n", error.what());
        std::fprintf(stderr, "usage: quintaro-simserver [--persona ase|mssql] [--port N] [--password P] "
                             "[--log FILE] [--db FILE] [--deterministic]\n");
        return 2;
    }
    return 1;
}
