// The display monitors, as Windows lists them: the X screen's RandR 1.5
// monitors where the server has them (xrandr --setmonitor makes them too),
// else its Xinerama screens, else the whole screen as one. The main monitor
// is RandR's primary, else the first.
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/x11_internal.h"

namespace
{

// As the last enumeration found them, the main one first; a monitor's
// handle is its place + 1.
std::vector<RECT> monitors;

int randr_event_base = -1; // while screen changes are watched

bool has_randr_monitors(Display* d)
{
    int event_base = 0;
    int error_base = 0;
    int major = 0;
    int minor = 0;
    return XRRQueryExtension(d, &event_base, &error_base) && XRRQueryVersion(d, &major, &minor) &&
           (major > 1 || (major == 1 && minor >= 5));
}

// A mode's refreshes a second: its dot clock over its whole size. A mode
// without a dot clock (Xvfb's own) has no rate known.
DWORD refresh_rate(const XRRModeInfo& mode)
{
    if (!mode.dotClock || !mode.hTotal || !mode.vTotal)
        return 0;
    return static_cast<DWORD>(std::lround(static_cast<double>(mode.dotClock) /
                                          (static_cast<double>(mode.hTotal) * mode.vTotal)));
}

DWORD fastest_refresh(Display* d, XRRScreenResources* resources)
{
    DWORD fastest = 0;
    for (int i = 0; i < resources->ncrtc; ++i) {
        XRRCrtcInfo* crtc = XRRGetCrtcInfo(d, resources, resources->crtcs[i]);
        for (int m = 0; crtc && crtc->mode != None && m < resources->nmode; ++m)
            if (resources->modes[m].id == crtc->mode)
                fastest = std::max(fastest, refresh_rate(resources->modes[m]));
        if (crtc)
            XRRFreeCrtcInfo(crtc);
    }
    return fastest;
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
        for (int i = 0; i < count; ++i) {
            const RECT area{list[i].x, list[i].y, list[i].x + list[i].width,
                            list[i].y + list[i].height};
            found.insert(list[i].primary ? found.begin() : found.end(), area);
        }
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

void watch_screen_changes(Display* d)
{
    int event_base = 0;
    int error_base = 0;
    if (randr_event_base >= 0 || !XRRQueryExtension(d, &event_base, &error_base))
        return;
    randr_event_base = event_base;
    // A new size comes as both; monitors made or removed (xrandr
    // --setmonitor) only as a ConfigureNotify of the root; a new mode of
    // the same size, with another refresh, only as a CRTC's news.
    XRRSelectInput(d, DefaultRootWindow(d), RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask);
    add_events(d, DefaultRootWindow(d), StructureNotifyMask);
}

bool is_screen_change(const XEvent& event)
{
    Display* d = display_if_open();
    if (randr_event_base < 0 || !d || event.xany.send_event)
        return false;
    if (event.type != randr_event_base + RRScreenChangeNotify &&
        event.type != randr_event_base + RRNotify &&
        (event.type != ConfigureNotify || event.xconfigure.window != DefaultRootWindow(d)))
        return false;
    XEvent news = event; // brought up to date on our own connection
    news.xany.display = d;
    XRRUpdateConfiguration(&news);
    return true;
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
    info->dwFlags = place == 1 ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}

BOOL EnumDisplaySettingsA(LPCSTR device, DWORD mode, DEVMODEA* devmode)
{
    Display* d = x11::display();
    int event_base = 0;
    int error_base = 0;
    if (!d || device || mode != ENUM_CURRENT_SETTINGS || !devmode ||
        devmode->dmSize != sizeof *devmode)
        return FALSE;
    devmode->dmDisplayFrequency = 0;
    if (!XRRQueryExtension(d, &event_base, &error_base))
        return TRUE;
    if (XRRScreenResources* resources = XRRGetScreenResourcesCurrent(d, DefaultRootWindow(d))) {
        devmode->dmDisplayFrequency = fastest_refresh(d, resources);
        XRRFreeScreenResources(resources);
    }
    return TRUE;
}
