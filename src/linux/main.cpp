// The Linux program: the desktop's display-mode options, mapped onto the
// saver's own preview mode in the window they name; everything else is the
// saver's Windows switches, handled exactly as on Windows.
#include <sys/prctl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "linux/desktop_options.h"
#include "orbdrift_version.h"
#include "platform/posix_end_requests.h"
#include "platform/x11_desktop.h"
#include "shell/render_proc.h"
#include "shell/saver_entry.h"
#include "shell/saver_settings.h"
#include "shell/saver_window.h"
#include "shell/start_choices.h"
#include "wayland/wayland_saver.h"

namespace
{

const char* const trial_class = "OrbdriftTrialWindow";
const char* const wallpaper_process_name = "orbdrift-wall"; // at most 15 characters

// A plain window on the desktop that the preview fills; closing it ends the
// saver as a closed host does.
HWND make_trial_window()
{
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = DefWindowProcA;
    window_class.lpszClassName = trial_class;
    if (!RegisterClassA(&window_class))
        return nullptr;
    return CreateWindowExA(0, trial_class, "orbdrift", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800,
                           600, nullptr, nullptr, nullptr, nullptr);
}

bool draws(DesktopMode mode)
{
    return mode == DesktopMode::root || mode == DesktopMode::window_id ||
           mode == DesktopMode::window || mode == DesktopMode::wayland ||
           mode == DesktopMode::wallpaper;
}

// A wallpaper goes where the session is: in a Wayland session that also runs
// X programs, an X window would be one more window, not the desktop.
bool on_wayland(DesktopMode mode)
{
    const char* socket = std::getenv("WAYLAND_DISPLAY");
    return mode == DesktopMode::wayland || (mode == DesktopMode::wallpaper && socket && *socket);
}

HWND display_window(const DesktopOptions& options)
{
    switch (options.mode) {
    case DesktopMode::root:
        return options.window ? options.window : GetDesktopWindow();
    case DesktopMode::window:
        return make_trial_window();
    case DesktopMode::wallpaper:
        return make_desktop_window();
    default:
        return options.window;
    }
}

// Started with nothing in a Wayland session without X, as an idle daemon
// would start it: the saver can only be a Wayland client. A Windows switch
// still means what it says. The mode comes from the options alone.
DesktopMode mode_to_run(int argc, const char* const* argv, const char* screensaver_window)
{
    if (argc < 2 && std::getenv("WAYLAND_DISPLAY") && !std::getenv("DISPLAY"))
        return DesktopMode::wayland;
    return parse_desktop_options(argc, argv, screensaver_window).mode;
}

// The display modes end with 0 on SIGTERM, SIGINT and SIGHUP however early
// it comes: a daemon whose user is back at once ends the saver it has just
// started. The Wayland modes keep nothing, so a request they cannot carry out
// in time (a GL swap waiting on a stopped compositor) ends them abruptly.
void watch_end_requests_of(DesktopMode mode)
{
    if (draws(mode))
        watch_end_requests(on_wayland(mode) ? LateEnd::ends_with_0 : LateEnd::waits);
}

// An idle daemon's resume line ends the saver by its process name (pkill -x
// orbdrift); the wallpaper, which runs all day beside it, goes by another.
void name_the_process(DesktopMode mode)
{
    if (mode == DesktopMode::wallpaper)
        prctl(PR_SET_NAME, wallpaper_process_name);
}

// A host's window that is gone, or was never there, is the host's news and
// not the saver's fault: one line, and the code of a display that is lost.
// Without a display its own line has been said.
int no_window_to_draw_in(HWND named)
{
    if (named && GetDesktopWindow())
        std::fprintf(stderr, "orbdrift: there is no window 0x%lx to draw in\n",
                     static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(named)));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    // Before the settings are read or anything is connected.
    const char* screensaver_window = std::getenv("XSCREENSAVER_WINDOW");
    const DesktopMode mode = mode_to_run(argc, argv, screensaver_window);
    watch_end_requests_of(mode);
    name_the_process(mode);
    // Only a mode that draws reads the saved settings, under the options given:
    // --help, --version and a bad option answer whatever the settings file is.
    DesktopOptions options = parse_desktop_options(argc, argv, screensaver_window);
    if (draws(mode))
        options = parse_desktop_options(argc, argv, screensaver_window, read_saved_settings());
    options.mode = mode;
    if (mode == DesktopMode::wallpaper && !on_wayland(mode) && !options.output.empty()) {
        options.mode = DesktopMode::bad;
        options.problem = "--output names a Wayland output; on X the wallpaper covers the screen";
    }
    switch (options.mode) {
    case DesktopMode::windows_switches:
        process_start();
    case DesktopMode::help:
        std::fputs(desktop_usage().c_str(), stdout);
        return 0;
    case DesktopMode::version:
        std::puts("orbdrift " ORBDRIFT_VERSION);
        return 0;
    case DesktopMode::bad:
        std::fprintf(stderr, "orbdrift: %s\n%s", options.problem.c_str(), desktop_usage().c_str());
        return 2;
    default:
        break;
    }
    scene_settings = options.settings;
    const bool wallpaper = options.mode == DesktopMode::wallpaper;
    if (on_wayland(options.mode)) {
        settle_start_choices(); // the other hosts' start goes through run_saver
        return run_wayland(options.output, options.frame_interval_ms, wallpaper);
    }
    wallpaper_mode = wallpaper ? TRUE : FALSE;
    frame_interval_ms = options.frame_interval_ms;
    // The saver's preview: no close rules, no grabs; the daemon owns input.
    const HWND window = display_window(options);
    if (!window || !IsWindow(window))
        return no_window_to_draw_in(options.window);
    std::string tail = "/p " + std::to_string(reinterpret_cast<UINT_PTR>(window));
    const int result = saver_main(GetModuleHandleA(nullptr), nullptr, &tail[0], SW_SHOWDEFAULT);
    // -1: the window went between the look above and the saver's own.
    ExitProcess(static_cast<UINT>(result == -1 ? no_window_to_draw_in(options.window) : result));
}
