// The Linux program: the desktop's display-mode options, mapped onto the
// saver's own preview mode in the window they name; everything else is the
// saver's Windows switches, handled exactly as on Windows.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "linux/desktop_options.h"
#include "orbdrift_version.h"
#include "shell/render_proc.h"
#include "shell/saver_entry.h"
#include "shell/saver_settings.h"
#include "wayland/wayland_saver.h"

namespace
{

const char* const trial_class = "OrbdriftTrialWindow";

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
           mode == DesktopMode::window || mode == DesktopMode::wayland;
}

HWND display_window(const DesktopOptions& options)
{
    switch (options.mode) {
    case DesktopMode::root:
        return options.window ? options.window : GetDesktopWindow();
    case DesktopMode::window:
        return make_trial_window();
    default:
        return options.window;
    }
}

} // namespace

int main(int argc, char** argv)
{
    // Started with nothing in a Wayland session without X, as an idle daemon
    // would start it: the saver can only be a Wayland client. A Windows
    // switch still means what it says.
    const bool wayland_only = argc < 2 && std::getenv("WAYLAND_DISPLAY") && !std::getenv("DISPLAY");
    const char* screensaver_window = std::getenv("XSCREENSAVER_WINDOW");
    DesktopOptions options = parse_desktop_options(argc, argv, screensaver_window);
    // Only a mode that draws reads the saved settings, under the options given:
    // --help, --version and a bad option answer whatever the settings file is.
    if (wayland_only || draws(options.mode))
        options = parse_desktop_options(argc, argv, screensaver_window, read_saved_settings());
    if (wayland_only)
        options.mode = DesktopMode::wayland;
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
    if (options.mode == DesktopMode::wayland)
        return run_wayland(options.output, options.frame_interval_ms);
    frame_interval_ms = options.frame_interval_ms;
    // The saver's preview: no close rules, no grabs; the daemon owns input.
    const HWND window = display_window(options);
    std::string tail = "/p " + std::to_string(reinterpret_cast<UINT_PTR>(window));
    ExitProcess(static_cast<UINT>(
        saver_main(GetModuleHandleA(nullptr), nullptr, &tail[0], SW_SHOWDEFAULT)));
}
