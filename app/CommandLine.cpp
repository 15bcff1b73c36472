#include "CommandLine.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr const char *usage = "Usage: quintaro [--help] [--version]\n"
                              "\n"
                              "Graphs performance counters of Sybase ASE and Microsoft SQL Server live.\n"
                              "Started without options it opens its window; the servers it connects to are\n"
                              "remembered in ServerList.ini in the working directory.\n"
                              "\n"
                              "  --help     show this text and exit\n"
                              "  --version  show the version and exit\n"
                              "\n"
                              "Environment:\n"
                              "  QUINTARO_ASE_ODBC_DRIVER  the ODBC driver part used for the \"OLE DB DSN\"\n"
                              "                            (Sybase ASE) provider, by default\n"
                              "                            DRIVER={FreeTDS};TDS_Version=5.0\n";

} // namespace

std::optional<int> answerCommandLine(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("quintaro %s\n", QUINTARO_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(usage, stdout);
            return 0;
        }
    }
    return std::nullopt;
}
