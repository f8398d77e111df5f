#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <vector>

#include "platform/win32_api.h"
#include "support/xvfb_server.h"

namespace
{

using Area = std::array<long, 4>; // left, top, right, bottom

// As the shell sees them: each handle EnumDisplayMonitors hands out, with
// the area GetMonitorInfoA tells for it (all -1 where it refuses the handle).
std::vector<Area> monitors_now()
{
    std::vector<Area> found;
    const auto each = [](HMONITOR monitor, HDC, RECT*, LPARAM data) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        const RECT& a = info.rcMonitor;
        reinterpret_cast<std::vector<Area>*>(data)->push_back(
            GetMonitorInfoA(monitor, &info) ? Area{a.left, a.top, a.right, a.bottom}
                                            : Area{-1, -1, -1, -1});
        return TRUE;
    };
    EXPECT_TRUE(EnumDisplayMonitors(nullptr, nullptr, each, reinterpret_cast<LPARAM>(&found)));
    return found;
}

} // namespace

// RandR's monitors, its primary first wherever RandR lists it.
TEST(Monitors, AreRandrsWithThePrimaryFirst)
{
    XvfbServer server(false);
    ASSERT_TRUE(server.running()) << server.failure();
    EXPECT_EQ(monitors_now(), (std::vector<Area>{{0, 0, 640, 480}}));
    ASSERT_EQ(std::system("xrandr --setmonitor left 320/84x480/127+0+0 screen && "
                          "xrandr --setmonitor '*right' 320/84x240/63+320+240 none"),
              0);
    EXPECT_EQ(monitors_now(), (std::vector<Area>{{320, 240, 640, 480}, {0, 0, 320, 480}}));
}

// Without RandR, Xinerama's screens in its order (Xvfb puts them all at the
// origin).
TEST(Monitors, AreXineramasScreensWithoutRandr)
{
    XvfbServer server(false, {"-screen", "1", "320x200x24", "+xinerama", "-extension", "RANDR"});
    ASSERT_TRUE(server.running()) << server.failure();
    EXPECT_EQ(monitors_now(), (std::vector<Area>{{0, 0, 640, 480}, {0, 0, 320, 200}}));
}
