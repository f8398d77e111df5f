// The Linux program: the desktop's display-mode options, mapped onto the
// saver's own preview mode in the window they name; everything else is the
// saver's Windows switches, handled exactly as on Windows.
#include <sys/prctl.h>

#include <cstdio>
#include <cstdlib>

#include "linux/desktop_options.h"
#include "orbdrift_version.h"
#include "platform/posix_end_requests.h"
#include "platform/x11_desktop.h"
#include "shell/saver_entry.h"
#include "shell/saver_settings.h"
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

DesktopSession session_now()
{
    return {std::getenv("XSCREENSAVER_WINDOW"), std::getenv("WAYLAND_DISPLAY"),
            std::getenv("DISPLAY")};
}

// The display modes end with 0 on SIGTERM, SIGINT and SIGHUP however early
// it comes: a daemon whose user is back at once ends the saver it has just
// started. The Wayland modes keep nothing, so a request they cannot carry out
// in time (a GL swap waiting on a stopped compositor) ends them abruptly.
void watch_end_requests_of(const DesktopOptions& options)
{
    if (draws(options.mode))
        watch_end_requests(options.on_wayland ? LateEnd::ends_with_0 : LateEnd::waits);
}

// An idle daemon's resume line ends the saver by its process name (pkill -x
// orbdrift); the wallpaper, which runs all day beside it, goes by another.
void name_the_process(DesktopMode mode)
{
    if (mode == DesktopMode::wallpaper)
        prctl(PR_SET_NAME, wallpaper_process_name);
}

// A host's window that is gone, or was never there (0 is no window's id),
// is the host's news and not the saver's fault: one line, and the code of a
// display that is lost. Without a display its own line has been said.
int no_window_to_draw_in(const DesktopOptions& options)
{
    const bool named = options.window || options.mode == DesktopMode::window_id;
    if (named && GetDesktopWindow())
        std::fprintf(stderr, "orbdrift: there is no window 0x%lx to draw in\n",
                     static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(options.window)));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    // Before the settings are read or anything is connected.
    DesktopOptions options = parse_desktop_options(argc, argv, session_now());
    watch_end_requests_of(options);
    name_the_process(options.mode);
    // Only a mode that draws reads the saved settings, under the options given:
    // --help, --version and a bad option answer whatever the settings file is.
    if (draws(options.mode))
        read_under_options(options, read_saved_settings());
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
        // One line that says what was wrong: the whole usage would push it off the screen.
        std::fprintf(stderr, "orbdrift: %s (try --help)\n", options.problem.c_str());
        return 2;
    default:
        break;
    }
    const bool wallpaper = options.mode == DesktopMode::wallpaper;
    if (options.on_wayland) {
        SceneSettings settings = options.settings;
        settle_start_choices(settings); // the X hosts' start goes through run_saver
        return run_wayland(options.output, settings, options.frame_interval_ms, options.layer);
    }
    // The saver's preview: no close rules, no grabs; the daemon owns input.
    // -1: there is no window, or it went before the saver's window was made.
    const int result = host_preview_main(display_window(options), options.settings,
                                         options.frame_interval_ms, wallpaper ? TRUE : FALSE);
    ExitProcess(static_cast<UINT>(result == -1 ? no_window_to_draw_in(options) : result));
}
