// Start-up of a program to its first painted window, seen from the X server
// and without polling: starts the program, and waits for its window whose
// title begins with the given text to be mapped and then drawn into (the
// DAMAGE extension reports a window's drawing as it happens). Prints the
// milliseconds from the start of the program to the map and to the first
// paint, and its resident megabytes two seconds after the start; then ends it.
//   kesto_first_paint "Kesto Timer - " PROGRAM [ARGUMENTS...]
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double MillisSince(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

std::string WindowTitle(xcb_connection_t* x, xcb_window_t window) {
    auto cookie =
        xcb_get_property(x, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(x, cookie, nullptr), &std::free);
    if (!reply)
        return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<size_t>(xcb_get_property_value_length(reply.get())));
}

double ResidentMegabytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    return -1;
}

pid_t Start(char** argv) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execvp(argv[0], argv);
        _exit(127);
    }
    return pid;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TITLE-PREFIX PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const std::string prefix = argv[1];
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(x, &xcb_damage_id);
    if (!damage || !damage->present) {
        std::fprintf(stderr, "the X server has no DAMAGE extension\n");
        return 2;
    }
    free(xcb_damage_query_version_reply(x, xcb_damage_query_version(x, 1, 1), nullptr));
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    const auto began = Clock::now();
    const pid_t pid = Start(argv + 2);
    std::optional<double> mapped, painted;
    std::set<xcb_window_t> ours; // mapped with the title looked for
    pollfd wait{xcb_get_file_descriptor(x), POLLIN, 0};
    while (!painted && MillisSince(began) < 20000) {
        xcb_generic_event_t* event = xcb_poll_for_event(x);
        if (!event) {
            if (xcb_connection_has_error(x))
                break;
            poll(&wait, 1, 100);
            continue;
        }
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            // Watched from its creation, so no drawing after the map is missed.
            const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
            xcb_damage_create(x, xcb_generate_id(x), created->window,
                              XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(x);
        } else if (type == XCB_MAP_NOTIFY) {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            if (WindowTitle(x, map->window).rfind(prefix, 0) == 0) {
                ours.insert(map->window);
                if (!mapped)
                    mapped = MillisSince(began);
            }
        } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY) {
            const auto* drawn = reinterpret_cast<xcb_damage_notify_event_t*>(event);
            if (ours.count(drawn->drawable))
                painted = MillisSince(began);
        }
        free(event);
    }
    std::this_thread::sleep_until(began + std::chrono::seconds(2));
    const double megabytes = ResidentMegabytes(pid);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    xcb_disconnect(x);
    if (!painted) {
        std::fprintf(stderr, "no window titled \"%s...\" was painted\n", prefix.c_str());
        return 1;
    }
    std::printf("%.1f %.1f %.1f\n", *mapped, *painted, megabytes);
    return 0;
}
