#include <gtest/gtest.h>

#include <vector>

#include "scene/frame_driver.h"
#include "scene/scene_settings.h"
#include "shell/monitor_areas.h"
#include "shell/saver_window.h"
#include "support/fake_win32.h"

// Monitors in screen coordinates, y down, as GL areas of the window, y up.
TEST(MonitorAreas, EachMonitorIsAnAreaOfTheWindowFromItsBottomLeft)
{
    struct Case {
        std::vector<RECT> monitors;
        POINT origin;
        int width, height;
        std::vector<ScreenArea> areas; // left, bottom, width, height
    };
    const Case cases[] = {
        {{{0, 0, 640, 480}, {640, 0, 1280, 480}}, {0, 0}, 1280, 480,
         {{0, 0, 640, 480}, {640, 0, 640, 480}}}, // side by side
        {{{0, 0, 800, 600}, {0, 600, 800, 1200}}, {0, 0}, 800, 1200,
         {{0, 600, 800, 600}, {0, 0, 800, 600}}}, // stacked: the first on top
        {{{-1024, 200, 0, 968}, {0, 0, 1920, 1080}}, {-1024, 0}, 2944, 1080,
         {{0, 112, 1024, 768}, {1024, 0, 1920, 1080}}}, // left of the primary, smaller
        {{{0, 0, 640, 480}}, {0, 0}, 640, 480, {{0, 0, 640, 480}}},
        {{{-100, -100, 100, 100}, {640, 0, 900, 100}, {0, 480, 640, 600}}, {0, 0}, 640, 480,
         {{0, 380, 100, 100}}}, // clipped to the window; those beside it left out
        {std::vector<RECT>(5, {0, 0, 64, 48}), {0, 0}, 64, 48,
         std::vector<ScreenArea>(4, {0, 0, 64, 48})}, // as many as there is room for
    };
    for (const Case& c : cases) {
        ScreenArea areas[4];
        const int count = monitor_areas(c.monitors.data(), static_cast<int>(c.monitors.size()),
                                        c.origin, c.width, c.height, areas, 4);
        ASSERT_EQ(count, static_cast<int>(c.areas.size()));
        for (int i = 0; i < count; ++i) {
            const ScreenArea& want = c.areas[static_cast<std::size_t>(i)];
            EXPECT_EQ(std::vector<int>({areas[i].left, areas[i].bottom, areas[i].width,
                                        areas[i].height}),
                      std::vector<int>({want.left, want.bottom, want.width, want.height}));
        }
    }
    // The saver window takes them only when asked, and only with several;
    // the main monitor's alone, the rest black.
    client_width = 1280;
    client_height = 480;
    ScreenArea pictures[max_monitor_pictures];
    const struct {
        int choice;
        std::vector<RECT> monitors;
        std::size_t primary;
        int count;              // of pictures, or whole_window; none: all black
        std::vector<int> lefts; // of the pictures
    } layouts[] = {
        {monitors_across, {{0, 0, 640, 480}, {640, 0, 1280, 480}}, 0, whole_window, {}},
        {monitors_each, {{0, 0, 640, 480}, {640, 0, 1280, 480}}, 0, 2, {0, 640}},
        {monitors_each, {{0, 0, 1280, 480}}, 0, whole_window, {}}, // the window's own picture
        {monitors_each, {{0, 0, 640, 480}, {5000, 0, 5640, 480}}, 0, 1, {0}}, // one outside
        {monitors_each, {{5000, 0, 5640, 480}}, 0, whole_window, {}},
        {monitors_each, std::vector<RECT>(max_monitor_pictures, {0, 0, 80, 30}), 0,
         max_monitor_pictures, std::vector<int>(max_monitor_pictures, 0)},
        {monitors_each, std::vector<RECT>(max_monitor_pictures + 1, {0, 0, 80, 30}), 0,
         whole_window, {}}, // one across all
        {monitors_main, std::vector<RECT>(max_monitor_pictures + 1, {0, 0, 80, 30}), 0,
         whole_window, {}},
        {monitors_main, {{0, 0, 640, 480}, {640, 0, 1280, 480}}, 1, 1, {640}},
        {monitors_main, {{0, 0, 1280, 480}, {1280, 0, 1920, 480}}, 0, whole_window, {}},
        {monitors_main, {{0, 0, 1280, 480}, {1280, 0, 1920, 480}}, 1, 0, {}}, // off the window
    };
    for (const auto& layout : layouts) {
        scene_settings.monitors = layout.choice;
        fake.monitors = layout.monitors;
        fake.primary_monitor = layout.primary;
        const int count = lay_out_monitors(fake_window(1), pictures);
        ASSERT_EQ(count, layout.count);
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(pictures[i].left, layout.lefts[static_cast<std::size_t>(i)]);
    }
    preview_mode = TRUE;
    EXPECT_EQ(lay_out_monitors(fake_window(1), pictures), whole_window);
    wallpaper_mode = TRUE; // its host is the desktop, over every monitor
    scene_settings.monitors = monitors_each;
    fake.monitors = {{0, 0, 640, 480}, {640, 0, 1280, 480}};
    EXPECT_EQ(lay_out_monitors(fake_window(1), pictures), 2);
    preview_mode = wallpaper_mode = FALSE;
    scene_settings = SceneSettings{};
    fake.primary_monitor = 0;
}
