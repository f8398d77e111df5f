#pragma once
#include <optional>
#include <string>

#include "common/saver_limits.h"
#include "platform/win32.h"
#include "scene/scene_settings.h"
#include "wayland/wayland_saver.h"

// How the Linux desktop starts a display mode. A screen-saver daemon runs it
// with --root (its window in XSCREENSAVER_WINDOW) or --window-id, a person
// with --window to try it, a Wayland idle daemon with --wayland, a screen
// locker with nothing but XSCREENSAVER_WINDOW (taken as --root), a session's
// autostart with --wallpaper; anything that is not one of these options is
// the saver's own Windows switches.
enum class DesktopMode {
    windows_switches,
    root,
    window_id,
    window,
    wayland,
    wallpaper,
    help,
    version,
    bad
};

// Where the session says the saver is: each variable, or null when it is
// not set.
struct DesktopSession {
    const char* screensaver_window; // XSCREENSAVER_WINDOW
    const char* wayland_display;    // WAYLAND_DISPLAY
    const char* x_display;          // DISPLAY
};

// A command line read once, and all that follows from it in its session.
class DesktopOptions
{
public:
    virtual ~DesktopOptions() = default;

    DesktopMode mode = DesktopMode::windows_switches;
    bool on_wayland = false; // drawn by a Wayland client, not in an X window
    HWND window = nullptr;   // root: null for the root window itself
    std::string output;      // wayland, wallpaper: the one output, or empty for all
    WaylandLayer layer = WaylandLayer::overlay; // wayland: the saver's; wallpaper: its own
    // The options over the saved settings, or over the defaults until those
    // are read.
    SceneSettings settings;
    // From the settings' frame rate (the wallpaper's own for a wallpaper)
    // unless --delay says otherwise.
    UINT frame_interval_ms = full_rate_frame_interval_ms;
    std::string problem; // what was wrong, for DesktopMode::bad

    // What the options themselves say, for the saved settings to go under.
    unsigned settings_given = 0; // a bit for each row of settings_table an option set
    std::optional<UINT> delay_ms;
};

DesktopOptions parse_desktop_options(int argc, const char* const* argv,
                                     const DesktopSession& session);
// Puts the saved settings under the options and takes the frame interval
// that follows.
void read_under_options(DesktopOptions& options, const SceneSettings& saved);

std::string desktop_usage();
