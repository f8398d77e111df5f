#include "tools/screen_size.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <cstdlib>

#include "tools/snapshot_options.h"
#include "wayland/wayland_output_size.h"

namespace
{

bool is_set(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

bool x_screen_size(int& width, int& height)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    width = DisplayWidth(display, DefaultScreen(display));
    height = DisplayHeight(display, DefaultScreen(display));
    XCloseDisplay(display);
    return true;
}

} // namespace

bool shown_screen_size(int& width, int& height)
{
    if (!(is_set("WAYLAND_DISPLAY") && wayland_output_size(width, height)) &&
        !(is_set("DISPLAY") && x_screen_size(width, height)))
        return false;
    width = std::min(width, max_picture_side);
    height = std::min(height, max_picture_side);
    return true;
}
