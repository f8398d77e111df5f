#include "shell/power_state.h"

#include <initializer_list>

bool display_off = false;
bool running_on_battery = false;

namespace
{

HPOWERNOTIFY display_notice = nullptr;
HPOWERNOTIFY source_notice = nullptr;

} // namespace

void watch_power(HWND window)
{
    display_off = false;
    display_notice = RegisterPowerSettingNotification(window, &GUID_CONSOLE_DISPLAY_STATE,
                                                      DEVICE_NOTIFY_WINDOW_HANDLE);
    source_notice = RegisterPowerSettingNotification(window, &GUID_ACDC_POWER_SOURCE,
                                                     DEVICE_NOTIFY_WINDOW_HANDLE);
    // After the source is watched, so that Linux reads it on the bus it
    // already holds rather than on one of its own.
    SYSTEM_POWER_STATUS status{};
    running_on_battery = GetSystemPowerStatus(&status) && status.ACLineStatus == 0;
}

void stop_watching_power()
{
    for (HPOWERNOTIFY* notice : {&display_notice, &source_notice}) {
        if (*notice)
            UnregisterPowerSettingNotification(*notice);
        *notice = nullptr;
    }
}

bool take_power_setting(const POWERBROADCAST_SETTING& setting)
{
    if (setting.DataLength < 1)
        return false;
    // A dimmed display still shows the picture.
    if (IsEqualGUID(setting.PowerSetting, GUID_CONSOLE_DISPLAY_STATE))
        display_off = setting.Data[0] == 0;
    else if (IsEqualGUID(setting.PowerSetting, GUID_ACDC_POWER_SOURCE))
        running_on_battery = setting.Data[0] != 0;
    else
        return false;
    return true;
}
