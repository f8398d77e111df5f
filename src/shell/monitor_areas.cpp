#include "shell/monitor_areas.h"

#include <algorithm>

#include "scene/scene_settings.h"
#include "shell/saver_window.h"

namespace
{

struct MonitorList {
    RECT rectangles[max_monitor_pictures];
    int count; // every monitor, also those past the room of the list
    int primary;
};

BOOL CALLBACK add_monitor(HMONITOR monitor, HDC, RECT*, LPARAM data)
{
    auto& list = *reinterpret_cast<MonitorList*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (list.count < max_monitor_pictures && GetMonitorInfoA(monitor, &info)) {
        list.rectangles[list.count] = info.rcMonitor;
        if (info.dwFlags & MONITORINFOF_PRIMARY)
            list.primary = list.count;
    }
    ++list.count;
    return TRUE;
}

bool fills(const ScreenArea& area, int width, int height)
{
    return area.left == 0 && area.bottom == 0 && area.width == width && area.height == height;
}

} // namespace

int monitor_areas(const RECT* monitors, int count, POINT origin, int width, int height,
                  ScreenArea* areas, int room)
{
    int made = 0;
    for (int i = 0; i < count && made < room; ++i) {
        const int left = std::max(static_cast<int>(monitors[i].left - origin.x), 0);
        const int top = std::max(static_cast<int>(monitors[i].top - origin.y), 0);
        const int right = std::min(static_cast<int>(monitors[i].right - origin.x), width);
        const int bottom = std::min(static_cast<int>(monitors[i].bottom - origin.y), height);
        if (right > left && bottom > top)
            areas[made++] = {left, height - bottom, right - left, bottom - top};
    }
    return made;
}

namespace
{

// The monitors' areas of the window, or of its main monitor alone;
// whole_window when there are more monitors than pictures fit.
int list_areas(HWND window, bool main_only, ScreenArea* areas)
{
    MonitorList list{};
    EnumDisplayMonitors(nullptr, nullptr, add_monitor, reinterpret_cast<LPARAM>(&list));
    if (list.count > max_monitor_pictures)
        return whole_window;
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return monitor_areas(main_only ? &list.rectangles[list.primary] : list.rectangles,
                         main_only ? 1 : list.count, origin, client_width, client_height, areas,
                         max_monitor_pictures);
}

} // namespace

int lay_out_monitors(HWND window, ScreenArea* pictures)
{
    if ((preview_mode && !wallpaper_mode) || scene_settings.monitors == monitors_across)
        return whole_window;
    const bool main_only = scene_settings.monitors == monitors_main;
    const int count = list_areas(window, main_only, pictures);
    // More monitors than pictures fit: one picture across them all, so that
    // none stays black. One monitor that fills the window is the window's own
    // picture; one that shares the screen with a monitor outside it is a
    // picture of its own size. Where no monitor shows, each monitor's picture
    // would be none at all, while the main one's is black.
    if ((count == 1 && fills(pictures[0], client_width, client_height)) ||
        (count == 0 && !main_only))
        return whole_window;
    return count;
}

int wallpaper_monitors(HWND window, ScreenArea* areas)
{
    return wallpaper_mode ? std::max(list_areas(window, false, areas), 0) : 0;
}

int seen_pictures(HDC dc, const ScreenArea* pictures, int count, ScreenArea* seen)
{
    int made = 0;
    for (int i = 0; i < count; ++i) {
        const ScreenArea& area = pictures[i];
        const int top = client_height - area.bottom - area.height;
        const RECT client{area.left, top, area.left + area.width, top + area.height};
        if (RectVisible(dc, &client))
            seen[made++] = area;
    }
    return made;
}
