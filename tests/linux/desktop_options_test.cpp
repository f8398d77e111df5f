#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "linux/desktop_options.h"

namespace
{

DesktopOptions parse(std::vector<const char*> arguments, const char* variable = nullptr,
                     const SceneSettings& saved = SceneSettings(),
                     const char* wayland_display = nullptr)
{
    arguments.insert(arguments.begin(), "orbdrift");
    arguments.push_back(nullptr); // as main's argv ends
    DesktopOptions options =
        parse_desktop_options(static_cast<int>(arguments.size()) - 1, arguments.data(),
                              {variable, wayland_display, ":0"});
    read_under_options(options, saved);
    return options;
}

HWND window(UINT_PTR id)
{
    return reinterpret_cast<HWND>(id);
}

} // namespace

TEST(DesktopOptions, TheDaemonsWaysOfNamingAWindow)
{
    const DesktopOptions from_variable = parse({"--root"}, "0x2a00007");
    EXPECT_EQ(from_variable.mode, DesktopMode::root);
    EXPECT_EQ(from_variable.window, window(0x2a00007));
    EXPECT_EQ(parse({"-root"}, "4711").window, window(4711));
    EXPECT_EQ(parse({"--root"}, "").window, nullptr); // the root window itself
    EXPECT_EQ(parse({"--root"}).window, nullptr);

    const DesktopOptions decimal = parse({"--window-id", "123456"});
    EXPECT_EQ(decimal.mode, DesktopMode::window_id);
    EXPECT_EQ(decimal.window, window(123456));
    EXPECT_EQ(parse({"-window-id", "0x1E240"}).window, window(123456));
    EXPECT_EQ(parse({"-window-id", "0X2a"}).window, window(42));
    EXPECT_EQ(parse({"--window"}).mode, DesktopMode::window);
    EXPECT_EQ(parse({"--root", "--window-id", "7"}).mode, DesktopMode::window_id); // the last wins
    EXPECT_EQ(parse({"--window-id", "7", "--root"}).window, nullptr);

    const DesktopOptions wayland = parse({"-wayland", "-output", "DP-1"});
    EXPECT_EQ(wayland.mode, DesktopMode::wayland);
    EXPECT_EQ(wayland.output, "DP-1");
    EXPECT_EQ(parse({"--wayland"}).output, "");
}

TEST(DesktopOptions, OptionsWinOverTheSavedSettingsWhichWinOverTheDefaults)
{
    SceneSettings saved;
    saved.texture = SMOKE;
    saved.stars = true;
    saved.frame_rate = 30;
    const DesktopOptions options =
        parse({"-no-stars", "-speed", "0.5", "--root", "--particles"}, nullptr, saved);
    EXPECT_EQ(options.mode, DesktopMode::root);
    EXPECT_EQ(options.settings.texture, SMOKE);
    EXPECT_FALSE(options.settings.stars);
    EXPECT_TRUE(options.settings.particles);
    EXPECT_EQ(options.settings.speed_percent, 50);
    EXPECT_EQ(parse({"-texture", "RING", "-window"}, nullptr, saved).settings.texture, RING);
    EXPECT_EQ(options.frame_interval_ms, 33u);
    EXPECT_EQ(parse({"--root", "--delay", "20000"}, nullptr, saved).frame_interval_ms, 20u);
    EXPECT_EQ(parse({"-stars"}).mode, DesktopMode::bad); // a setting alone draws nowhere
}

TEST(DesktopOptions, TheFrameIntervalComesFromTheDelayInMicroseconds)
{
    EXPECT_EQ(parse({"--root"}).frame_interval_ms, 5u); // the full rate, raised to 10 ms
    EXPECT_EQ(parse({"--root", "--delay", "25000"}).frame_interval_ms, 25u);
    EXPECT_EQ(parse({"--delay", "999", "--window"}).frame_interval_ms, 0u);
    // A leading zero is still decimal, never octal.
    EXPECT_EQ(parse({"--root", "--delay", "010000"}).frame_interval_ms, 10u);
    EXPECT_EQ(parse({"--root", "--delay", "09000"}).frame_interval_ms, 9u);
    EXPECT_EQ(parse({"-root", "-delay", "4294967295000"}).frame_interval_ms,
              4294967295u); // the most
    EXPECT_EQ(parse({"--window-id", "0100"}).window, window(100));
}

// It runs all day, so the saver's frame rate is not its own (only --delay
// is taken over the wallpaper's rate), nor is going black after a while.
TEST(DesktopOptions, AWallpaperHasAFrameRateOfItsOwnAndNeverGoesBlack)
{
    SceneSettings saved;
    saved.black_after_minutes = 10;
    const DesktopOptions wallpaper =
        parse({"--wallpaper", "--output", "DP-1"}, nullptr, saved, "wayland-0");
    EXPECT_EQ(wallpaper.mode, DesktopMode::wallpaper);
    EXPECT_TRUE(wallpaper.on_wayland);
    EXPECT_EQ(wallpaper.frame_interval_ms, 33u); // not the saver's 100 a second
    EXPECT_EQ(wallpaper.layer, WaylandLayer::background);
    for (const auto& layer : {std::make_pair("bottom", WaylandLayer::bottom),
                              std::make_pair("BOTTOM", WaylandLayer::bottom), // any case
                              std::make_pair("Background", WaylandLayer::background)})
        EXPECT_EQ(parse({"--wallpaper", "--layer", layer.first}, nullptr, saved, "wayland-0").layer,
                  layer.second)
            << layer.first;
    EXPECT_EQ(wallpaper.settings.black_after_minutes, 0);
    EXPECT_EQ(parse({"--root"}, nullptr, saved).settings.black_after_minutes, 10);
    saved.wallpaper_frame_rate = 15;
    EXPECT_EQ(parse({"-wallpaper"}, nullptr, saved).frame_interval_ms, 67u);
    EXPECT_EQ(parse({"--wallpaper-rate", "60", "--wallpaper"}).frame_interval_ms, 17u);
    EXPECT_EQ(parse({"--wallpaper", "--delay", "50000"}, nullptr, saved).frame_interval_ms, 50u);
}

TEST(DesktopOptions, EverythingElseIsTheWindowsSwitchesOrARefusal)
{
    for (const std::vector<const char*>& windows :
         std::vector<std::vector<const char*>>{{}, {"/s"}, {"-s"}, {"/p", "77"}, {"-r"}, {"/c:12"}})
        EXPECT_EQ(parse(windows).mode, DesktopMode::windows_switches);
    EXPECT_EQ(parse({"--help", "--bogus"}).mode, DesktopMode::help);
    EXPECT_EQ(parse({"-version"}).mode, DesktopMode::version);

    for (const std::vector<const char*>& bad :
         std::vector<std::vector<const char*>>{{"--bogus"},
                                               {"--"},
                                               {"--window-id"},
                                               {"--window-id", "12ab"},
                                               {"--window-id", "-5"},
                                               {"--window-id", "0x"},
                                               {"--window-id", "0x-5"},
                                               {"--window-id", " 5"},
                                               {"--window-id", "99999999999999999999999"},
                                               {"--delay", "soon", "--root"},
                                               {"--delay", "10000"},
                                               {"--root", "--delay", "4294967295001"},
                                               {"--wayland", "--output"},
                                               {"--wayland", "--output", ""},
                                               {"--root", "--output", "DP-1"},
                                               {"--wayland", "--layer", "bottom"},
                                               {"--wallpaper", "--layer", "top"},
                                               {"--wallpaper", "--layer"},
                                               {"--root", "--texture", "KIND9"},
                                               {"--root", "--speed", "fast"},
                                               {"--root", "/s"}}) {
        const DesktopOptions refused = parse(bad);
        EXPECT_EQ(refused.mode, DesktopMode::bad) << bad[0];
        EXPECT_FALSE(refused.problem.empty());
    }
    for (const char* wrong : {"30.5", "0x1", "1e1"}) // a fraction of a minute or frame, not decimal
        for (const char* option : {"--black-after", "--wallpaper-rate", "--speed"})
            EXPECT_EQ(parse({"--root", option, wrong}).mode, DesktopMode::bad) << option << wrong;
    EXPECT_EQ(parse({"--root"}, "zz").mode, DesktopMode::bad);
}

// A screen locker starts its saver bare, with only XSCREENSAVER_WINDOW to go
// by; a person starting it bare still gets the settings.
TEST(DesktopOptions, NothingButTheVariableIsTheRootOfThatWindow)
{
    SceneSettings saved;
    saved.texture = SMOKE;
    const DesktopOptions locker = parse({}, "0x600003", saved);
    EXPECT_EQ(locker.mode, DesktopMode::root);
    EXPECT_EQ(locker.window, window(0x600003));
    EXPECT_EQ(locker.settings.texture, SMOKE);
    EXPECT_EQ(parse({}, "4711").window, window(4711));
    EXPECT_EQ(parse({}, "").mode, DesktopMode::windows_switches);
    EXPECT_EQ(parse({}, "zz").mode, DesktopMode::bad);
    EXPECT_EQ(parse({"/c"}, "0x600003").mode, DesktopMode::windows_switches);
    EXPECT_EQ(parse({"--window"}, "0x600003").mode, DesktopMode::window);
}

// Where the session has no X, a bare start can only be a Wayland client; a
// wallpaper goes where the session is, and on X covers the whole screen.
TEST(DesktopOptions, TheSessionSaysWhereToDraw)
{
    const char* const bare[] = {"orbdrift", nullptr};
    const DesktopOptions idle = parse_desktop_options(1, bare, {"0x600003", "", nullptr});
    EXPECT_EQ(idle.mode, DesktopMode::wayland);
    EXPECT_TRUE(idle.on_wayland);
    EXPECT_EQ(parse({}, "0x600003", SceneSettings(), "wayland-0").mode, DesktopMode::root);
    EXPECT_FALSE(parse({"--wallpaper"}, nullptr, SceneSettings(), "").on_wayland);
    EXPECT_FALSE(parse({"--root"}, nullptr, SceneSettings(), "wayland-0").on_wayland);
    EXPECT_EQ(parse({"--wallpaper", "--output", "DP-1"}).mode, DesktopMode::bad);
    EXPECT_EQ(parse({"--wallpaper", "--layer", "background"}).mode, DesktopMode::bad);
}
