#include "shell/power_state.h"

#include <initializer_list>

bool display_off = false;
bool running_on_battery = false;

namespace
{

HPOWERNOTIFY display_notice = nullptr;
HPOWERNOTIFY source_notice = nullptr;
HPOWERNOTIFY saving_notice = nullptr;
bool on_battery = false;
bool battery_saver = false;

void note_power()
{
    running_on_battery = on_battery || battery_saver;
}

} // namespace

void watch_power(HWND window)
{
    display_off = false;
    display_notice = RegisterPowerSettingNotification(window, &GUID_CONSOLE_DISPLAY_STATE,
                                                      DEVICE_NOTIFY_WINDOW_HANDLE);
    source_notice = RegisterPowerSettingNotification(window, &GUID_ACDC_POWER_SOURCE,
                                                     DEVICE_NOTIFY_WINDOW_HANDLE);
    saving_notice = RegisterPowerSettingNotification(window, &GUID_POWER_SAVING_STATUS,
                                                     DEVICE_NOTIFY_WINDOW_HANDLE);
    // After both are watched, so that Linux reads them on the bus it already
    // holds rather than on one of its own.
    SYSTEM_POWER_STATUS status{};
    const bool read = GetSystemPowerStatus(&status) != 0;
    on_battery = read && status.ACLineStatus == 0;
    battery_saver = read && status.SystemStatusFlag == 1;
    note_power();
}

void stop_watching_power()
{
    for (HPOWERNOTIFY* notice : {&display_notice, &source_notice, &saving_notice}) {
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
        on_battery = setting.Data[0] != 0;
    else if (IsEqualGUID(setting.PowerSetting, GUID_POWER_SAVING_STATUS))
        battery_saver = setting.Data[0] != 0;
    else
        return false;
    note_power();
    return true;
}
