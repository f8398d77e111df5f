#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <vector>

#include "platform/x11_internal.h"
#include "support/xvfb_server.h"

namespace
{

using Area = std::array<long, 4>; // left, top, right, bottom

std::vector<Area> monitors_now()
{
    Display* d = XOpenDisplay(nullptr);
    std::vector<Area> found;
    for (const RECT& area : x11::find_monitors(d))
        found.push_back({area.left, area.top, area.right, area.bottom});
    XCloseDisplay(d);
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
