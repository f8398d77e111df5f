#include "shell/monitor_areas.h"

#include <algorithm>

#include "scene/scene_settings.h"
#include "shell/saver_window.h"

namespace
{

struct MonitorList {
    RECT rectangles[max_screen_areas];
    int count;
};

BOOL CALLBACK add_monitor(HMONITOR monitor, HDC, RECT*, LPARAM data)
{
    auto& list = *reinterpret_cast<MonitorList*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info))
        list.rectangles[list.count++] = info.rcMonitor;
    return list.count < max_screen_areas;
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

void use_monitors(HWND window)
{
    screen_area_count = 0;
    if (preview_mode || !scene_settings.each_monitor)
        return;
    MonitorList list{};
    EnumDisplayMonitors(nullptr, nullptr, add_monitor, reinterpret_cast<LPARAM>(&list));
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const int count = monitor_areas(list.rectangles, list.count, origin, client_width,
                                    client_height, screen_areas, max_screen_areas);
    screen_area_count = count > 1 ? count : 0;
}
