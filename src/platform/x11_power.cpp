// The power calls of the Windows API: the X server's monitor power (the
// DPMS extension, looked at no more than once a second), or a wallpaper that
// nobody can see, as the console's display state, UPower's OnBattery as the
// power source, and the power-profiles daemon's power-saver profile as the
// battery saver. Each change is sent to the windows that asked, as Windows
// sends it.
#include <memory>
#include <vector>

#include "platform/sdbus_power_source.h"
#include "platform/x11_internal.h"
#include "platform/x11_monitor_power.h"

namespace
{

enum class News { display, source, saving };

struct Notice {
    HWND window;
    News news;
};

std::vector<std::unique_ptr<Notice>> notices;
constexpr int look_interval_ms = 1000;
std::uint64_t next_look = 0;
bool monitor_off = false;     // at the last look
bool display_was_off = false; // as the windows were last told

bool server_monitor_off()
{
    return monitor_powered_down(x11::display());
}

const GUID* const news_settings[] = {&GUID_CONSOLE_DISPLAY_STATE, &GUID_ACDC_POWER_SOURCE,
                                     &GUID_POWER_SAVING_STATUS};
constexpr int news_kinds = sizeof news_settings / sizeof news_settings[0];

const GUID& setting_of(News news)
{
    return *news_settings[static_cast<int>(news)];
}

bool watched(News news)
{
    for (const auto& notice : notices)
        if (notice->news == news)
            return true;
    return false;
}

// Both come from the bus.
bool bus_watched()
{
    return watched(News::source) || watched(News::saving);
}

void tell(News news, BYTE state)
{
    POWERBROADCAST_SETTING setting{setting_of(news), 1, {state}};
    std::vector<HWND> told; // a window may stop watching when told
    for (const auto& notice : notices)
        if (notice->news == news)
            told.push_back(notice->window);
    for (HWND window : told)
        SendMessageA(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                     reinterpret_cast<LPARAM>(&setting));
}

} // namespace

bool (*x11::monitor_off_source)() = server_monitor_off;

HPOWERNOTIFY RegisterPowerSettingNotification(HWND window, LPCGUID setting, DWORD)
{
    int news = 0;
    while (setting && news < news_kinds && !IsEqualGUID(*setting, *news_settings[news]))
        ++news;
    if (!window || news == news_kinds)
        return nullptr;
    const News asked = static_cast<News>(news);
    if (asked != News::display && !watch_power_source())
        return nullptr; // no news will ever come
    if (asked == News::display && !watched(News::display))
        monitor_off = display_was_off = false; // the first look tells of a monitor already off
    notices.push_back(std::make_unique<Notice>(Notice{window, asked}));
    return notices.back().get();
}

BOOL UnregisterPowerSettingNotification(HPOWERNOTIFY handle)
{
    for (auto it = notices.begin(); it != notices.end(); ++it) {
        if (it->get() == handle) {
            notices.erase(it);
            if (!bus_watched())
                stop_watching_power_source();
            return TRUE;
        }
    }
    return FALSE;
}

BOOL GetSystemPowerStatus(SYSTEM_POWER_STATUS* status)
{
    if (!status)
        return FALSE;
    *status = {};
    const PowerNews news = power_now();
    status->ACLineStatus = news.on_battery ? 0 : 1;
    status->SystemStatusFlag = news.power_saver ? 1 : 0;
    status->BatteryFlag = 128; // nothing known of the battery itself
    status->BatteryLifePercent = 255;
    status->BatteryLifeTime = 0xFFFFFFFFu;
    status->BatteryFullLifeTime = 0xFFFFFFFFu;
    return TRUE;
}

int x11::power_descriptor()
{
    return power_source_descriptor();
}

int x11::power_wait_ms()
{
    if (!watched(News::display))
        return -1;
    const std::uint64_t now = posix::tick_source();
    return next_look > now ? static_cast<int>(next_look - now) : 0;
}

void x11::tell_power_changes()
{
    // Each as it is now, to whoever asked for it, when either changed.
    PowerNews news;
    if (bus_watched() && power_source_changed(news)) {
        tell(News::source, news.on_battery ? 1 : 0);
        tell(News::saving, news.power_saver ? 1 : 0);
    }
    if (!watched(News::display))
        return;
    if (posix::tick_source() >= next_look) {
        next_look = posix::tick_source() + look_interval_ms;
        monitor_off = monitor_off_source();
    }
    // A wallpaper nobody can see is told of as a monitor that is off, at
    // once rather than at the next look.
    const bool off = monitor_off || x11::desktop_hidden();
    if (off != display_was_off) {
        display_was_off = off;
        tell(News::display, off ? 0 : 1);
    }
}
