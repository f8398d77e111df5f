#pragma once
#include <string>

#include "platform/win32.h"

// How the Linux desktop starts a display mode. A screen-saver daemon runs it
// with --root (its window in XSCREENSAVER_WINDOW) or --window-id, a person
// with --window to try it; anything that is not one of these options is the
// saver's own Windows switches.
enum class DesktopMode { windows_switches, root, window_id, window, help, version, bad };

class DesktopOptions
{
public:
    virtual ~DesktopOptions() = default;

    DesktopMode mode = DesktopMode::windows_switches;
    HWND window = nullptr;       // root: null for the root window itself
    UINT frame_interval_ms = 10; // the Windows pace unless --delay says otherwise
    std::string problem;         // what was wrong, for DesktopMode::bad
};

// screensaver_window is XSCREENSAVER_WINDOW, or null when it is not set.
DesktopOptions parse_desktop_options(int argc, const char* const* argv,
                                     const char* screensaver_window);

extern const char* const desktop_usage;
