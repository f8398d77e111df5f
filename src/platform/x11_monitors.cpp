// The display monitors, as Windows lists them: the X screen's RandR 1.5
// monitors where the server has them (xrandr --setmonitor makes them too),
// else its Xinerama screens, else the whole screen as one.
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

#include <vector>

#include "platform/x11_internal.h"

namespace
{

// As the last enumeration found them; a monitor's handle is its place + 1.
std::vector<RECT> monitors;

bool has_randr_monitors(Display* d)
{
    int event_base = 0;
    int error_base = 0;
    int major = 0;
    int minor = 0;
    return XRRQueryExtension(d, &event_base, &error_base) && XRRQueryVersion(d, &major, &minor) &&
           (major > 1 || (major == 1 && minor >= 5));
}

} // namespace

namespace x11
{

std::vector<RECT> find_monitors(Display* d)
{
    std::vector<RECT> found;
    int count = 0;
    if (has_randr_monitors(d)) {
        XRRMonitorInfo* list = XRRGetMonitors(d, DefaultRootWindow(d), True, &count);
        for (int i = 0; i < count; ++i)
            found.push_back(
                {list[i].x, list[i].y, list[i].x + list[i].width, list[i].y + list[i].height});
        XRRFreeMonitors(list);
    }
    if (found.empty() && XineramaIsActive(d)) {
        XineramaScreenInfo* screens = XineramaQueryScreens(d, &count);
        for (int i = 0; i < count; ++i)
            found.push_back({screens[i].x_org, screens[i].y_org,
                             screens[i].x_org + screens[i].width,
                             screens[i].y_org + screens[i].height});
        XFree(screens);
    }
    if (found.empty())
        found.push_back(
            {0, 0, DisplayWidth(d, DefaultScreen(d)), DisplayHeight(d, DefaultScreen(d))});
    return found;
}

} // namespace x11

BOOL EnumDisplayMonitors(HDC, const RECT*, MONITORENUMPROC procedure, LPARAM data)
{
    Display* d = x11::display();
    if (!d || !procedure)
        return FALSE;
    monitors = x11::find_monitors(d);
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        RECT area = monitors[i];
        if (!procedure(reinterpret_cast<HMONITOR>(i + 1), nullptr, &area, data))
            break;
    }
    return TRUE;
}

BOOL GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info)
{
    const auto place = reinterpret_cast<std::uintptr_t>(monitor);
    if (!info || info->cbSize != sizeof *info || place == 0 || place > monitors.size())
        return FALSE;
    info->rcMonitor = monitors[place - 1];
    info->rcWork = info->rcMonitor; // no panels are known of
    info->dwFlags = 0;
    return TRUE;
}
