#include <cstdint>
#include <vector>

#include "platform/window_fixture.h"
#include "platform/x11_internal.h"

class PowerTest : public XServerTest
{
};

namespace
{

bool monitor_off = false;
int monitor_looks = 0;
bool looked_at_monitor()
{
    ++monitor_looks;
    return monitor_off;
}

} // namespace

// Only a window that asked hears of the monitor's power, only when it
// changes, and the server is asked at most once a second, never per frame.
TEST_F(PowerTest, TheMonitorsPowerIsLookedAtOnceASecondAndToldWhenItChanges)
{
    const HWND window = make_test_window(0, 50, 50);
    const auto server_source = x11::monitor_off_source;
    x11::monitor_off_source = looked_at_monitor;
    const GUID unknown{};
    EXPECT_EQ(RegisterPowerSettingNotification(window, &unknown, DEVICE_NOTIFY_WINDOW_HANDLE),
              nullptr);
    const HPOWERNOTIFY notice = RegisterPowerSettingNotification(
        window, &GUID_CONSOLE_DISPLAY_STATE, DEVICE_NOTIFY_WINDOW_HANDLE);
    ASSERT_NE(notice, nullptr);
    SetTimer(window, 1, 10, nullptr); // frames, which must not bring more looks
    const auto told = [] {
        std::vector<int> states;
        for (const SeenMessage& m : seen)
            if (m.message == WM_POWERBROADCAST)
                states.push_back(m.power_state);
        return states;
    };
    const std::uint64_t start = posix::steady_milliseconds();
    seen.clear();
    monitor_off = true; // off already: told at the first look
    EXPECT_TRUE(pump_until([&] { return !told().empty(); }));
    monitor_off = false;
    EXPECT_TRUE(pump_until([&] { return told().size() == 2; }));
    pump_until([] { return false; }, 300); // the same state is not told again
    EXPECT_EQ(told(), (std::vector<int>{0, 1}));
    EXPECT_LE(monitor_looks, int((posix::steady_milliseconds() - start) / 1000) + 1);
    EXPECT_TRUE(UnregisterPowerSettingNotification(notice));
    const int looks = monitor_looks;
    monitor_off = true;
    pump_until([] { return false; }, 1200);
    EXPECT_EQ(monitor_looks, looks);
    EXPECT_EQ(told().size(), 2u);
    EXPECT_FALSE(UnregisterPowerSettingNotification(notice));
    x11::monitor_off_source = server_source;
}
