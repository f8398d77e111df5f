#pragma once
#include <string>

#include "platform/win32.h"
#include "scene/scene_settings.h"

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

class DesktopOptions
{
public:
    virtual ~DesktopOptions() = default;

    DesktopMode mode = DesktopMode::windows_switches;
    HWND window = nullptr;       // root: null for the root window itself
    std::string output;          // wayland, wallpaper: the one output, or empty for all
    SceneSettings settings;      // the saved ones, changed by the options given
    UINT frame_interval_ms = 10; // from the settings' frame rate (the wallpaper's own for a
                                 // wallpaper) unless --delay says otherwise
    std::string problem;         // what was wrong, for DesktopMode::bad
};

// screensaver_window is XSCREENSAVER_WINDOW, or null when it is not set;
// saved are the settings the options start from.
DesktopOptions parse_desktop_options(int argc, const char* const* argv,
                                     const char* screensaver_window,
                                     const SceneSettings& saved = SceneSettings());

std::string desktop_usage();
