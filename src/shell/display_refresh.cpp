#include "shell/display_refresh.h"

#include <algorithm>

namespace
{

DWORD refreshes_a_second = 0; // 0 while not known

} // namespace

void read_display_refresh()
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    refreshes_a_second =
        EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) ? mode.dmDisplayFrequency : 0;
}

double refresh_limited(double interval_ms)
{
    if (refreshes_a_second <= 1)
        return interval_ms;
    return std::max(interval_ms, 1000.0 / refreshes_a_second);
}

void ask_one_refresh_per_swap()
{
    typedef BOOL(WINAPI * SwapInterval)(int refreshes);
    const auto swap_interval = reinterpret_cast<SwapInterval>(
        reinterpret_cast<void (*)()>(wglGetProcAddress("wglSwapIntervalEXT")));
    if (swap_interval)
        swap_interval(1);
}
