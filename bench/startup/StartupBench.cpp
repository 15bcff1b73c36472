// Start to window shown: the real quintaro program is started again and again on the X display,
// and the time from starting the process to the X server mapping its first top-level window is
// taken from the X server's own notification, so nothing is polled and the program is not
// changed for the measurement. Needs DISPLAY (scripts/bench starts Xvfb when there is none).

#include "BudgetTable.h"

#include <fcntl.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>
#include <xcb/xcb.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Connection {
    xcb_connection_t *x = xcb_connect(nullptr, nullptr);
    ~Connection() { xcb_disconnect(x); }
};

// Milliseconds from spawning the program to its first window mapped; negative when it failed.
double startToShown(xcb_connection_t *x, const char *program, const std::string &home)
{
    std::vector<std::string> settings{"HOME=" + home};
    for (char **variable = environ; *variable; ++variable)
        if (std::string(*variable).rfind("HOME=", 0) != 0)
            settings.emplace_back(*variable);
    std::vector<char *> environment;
    for (std::string &setting : settings)
        environment.push_back(setting.data());
    environment.push_back(nullptr);
    char *arguments[] = {const_cast<char *>(program), nullptr};

    // Its warnings would interleave with the table.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);

    const Clock::time_point started = Clock::now();
    pid_t child = 0;
    const int failed = posix_spawn(&child, program, &quiet, nullptr, arguments, environment.data());
    posix_spawn_file_actions_destroy(&quiet);
    if (failed)
        return -1;
    double shown = -1;
    while (xcb_generic_event_t *event = xcb_wait_for_event(x)) {
        const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
        std::free(event);
        if (mapped) {
            shown = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
            break;
        }
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    return shown;
}

} // namespace

int main()
{
    Connection connection;
    if (xcb_connection_has_error(connection.x)) {
        std::fprintf(stderr, "no X display to start the program on\n");
        return 1;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection.x)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection.x, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection.x);

    // A home of its own: the program reads and writes its files there.
    char home[] = "/tmp/quintaro-startup-XXXXXX";
    if (!mkdtemp(home))
        return 1;
    std::vector<double> runs;
    startToShown(connection.x, QUINTARO_PROGRAM, home); // warms the file cache
    for (int run = 0; run < 9; ++run) {
        const double ms = startToShown(connection.x, QUINTARO_PROGRAM, home);
        if (ms < 0) {
            std::fprintf(stderr, "the program did not show a window\n");
            return 1;
        }
        runs.push_back(ms);
    }
    std::filesystem::remove_all(home);

    bench::BudgetTable table("start to window shown");
    table.row("process started to first window mapped", bench::median(runs), "ms", bench::Target{500, "< 0.5 s"});
    return 0;
}
