#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/frame_clock.h"
#include "scene/frame_driver.h"
#include "scene/scene_settings.h"
#include "shell/render_proc.h"
#include "shell/saver_process.h"
#include "shell/saver_settings.h"
#include "shell/saver_window.h"
#include "shell/window_chain.h"
#include "support/fake_win32.h"
#include "textures/texture_slot.h"
#include "views/view_manager.h"

namespace
{

std::vector<std::string> calls_from(std::size_t start)
{
    return std::vector<std::string>(fake.calls.begin() + static_cast<long>(start),
                                    fake.calls.end());
}

// The saver's window, made as the loop would make it, for messages sent to it.
HWND make_saver_window()
{
    WNDCLASSA saver_class{};
    saver_class.lpfnWndProc = saver_window_proc;
    saver_class.lpszClassName = saver_class_name;
    RegisterClassA(&saver_class);
    return CreateWindowExA(0, saver_class_name, "Screen Saver", WS_VISIBLE, 0, 0, 640, 480, nullptr,
                           nullptr, nullptr, nullptr);
}

} // namespace

TEST(RenderProc, TheSaverRunsWithAContextATimerAndFramesUntilClosed)
{
    fake.foreign_windows = {};
    fake.imm_loaded = true;
    module_instance = reinterpret_cast<HINSTANCE>(0x40);
    // Each tick the loop dispatches draws one frame and presents it.
    fake.posted = {MSG{fake_window(0x1000), WM_TIMER, 1, 0, 0, {}},
                   MSG{fake_window(0x1000), WM_SIZE, 0, MAKELPARAM(300, 200), 0, {}},
                   MSG{fake_window(0x1000), WM_TIMER, 9, 0, 0, {}},
                   MSG{fake_window(0x1000), WM_KEYDOWN, 0, 0, 0, {}}};
    EXPECT_EQ(run_saver(nullptr), 0);
    // A display mode's window on Linux may change size: the next frame follows.
    EXPECT_EQ(client_width, 300);
    EXPECT_EQ(view_manager.height, 200.0f);

    const WNDCLASSA& c = fake.window_class;
    EXPECT_EQ(c.style, 0x2Bu);
    EXPECT_EQ(c.lpfnWndProc, saver_window_proc);
    EXPECT_EQ(c.hInstance, module_instance);
    EXPECT_EQ(c.hIcon, LoadIconA(module_instance, MAKEINTRESOURCEA(100)));
    EXPECT_EQ(c.hbrBackground, GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(c.cbClsExtra + c.cbWndExtra, 0);
    EXPECT_EQ(fake.window_style, 0x96000000u);
    EXPECT_EQ(fake.window_ex_style, DWORD(WS_EX_TOPMOST));
    EXPECT_EQ(fake.window_origin.x, 8); // the screen's clip box
    EXPECT_EQ(fake.window_origin.y, 6);
    EXPECT_EQ(fake.count("SetForegroundWindow(4096)"), 1);
    EXPECT_EQ(fake.count("RegisterWindowMessageA(QueryCancelAutoPlay)"), 0); // older family only
    PIXELFORMATDESCRIPTOR pixels{};
    pixels.nSize = sizeof pixels;
    pixels.nVersion = 1;
    pixels.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pixels.iPixelType = PFD_TYPE_RGBA;
    pixels.cColorBits = 24;
    pixels.cDepthBits = 16;
    pixels.iLayerType = PFD_MAIN_PLANE;
    EXPECT_EQ(std::memcmp(&fake.pixel_format, &pixels, sizeof pixels), 0);

    const std::string format =
        "ChoosePixelFormat(40," +
        std::to_string(PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER) + ",24,16)";
    const std::vector<std::string> creation = {
        "GetDC(4096)",
        format,
        "SetPixelFormat(7)",
        "wglCreateContext",
        "wglMakeCurrent",
        "wglGetProcAddress(wglSwapIntervalEXT)",
        "RegisterPowerSettingNotification(4096,display)",
        "RegisterPowerSettingNotification(4096,power source)",
        "RegisterPowerSettingNotification(4096,battery saver)",
        "SetTimer(1,5)"};
    const auto create = std::find(fake.calls.begin(), fake.calls.end(), "GetDC(4096)");
    ASSERT_NE(create, fake.calls.end());
    // The input method is detached and the cursor hidden before the context is made.
    EXPECT_EQ(std::vector<std::string>(create - 2, create),
              (std::vector<std::string>{"ImmAssociateContext(0)", "SetCursor(0)"}));
    EXPECT_EQ(std::vector<std::string>(create, create + 10), creation);
    EXPECT_EQ(fake.count("SwapBuffers"), 2); // any timer identifier draws
    EXPECT_EQ(fake.count("Sleep(0)"), 2);

    const auto destroy = std::find(fake.calls.begin(), fake.calls.end(), "DestroyWindow");
    ASSERT_NE(destroy, fake.calls.end());
    EXPECT_EQ(calls_from(static_cast<std::size_t>(destroy - fake.calls.begin())),
              (std::vector<std::string>{"DestroyWindow", "ImmAssociateContext(119)", "KillTimer(1)",
                                        "UnregisterPowerSettingNotification(1)",
                                        "UnregisterPowerSettingNotification(2)",
                                        "UnregisterPowerSettingNotification(3)",
                                        "wglMakeCurrent(none)", "wglDeleteContext", "ReleaseDC"}));
    EXPECT_EQ(last_bound_texture, no_texture_bound); // the binding went with the context
}

namespace
{

// The frame timer as Windows runs it: from its latest tick on, at the
// interval it was set to last.
void deliver_tick(HWND window)
{
    fake.tick_count = std::max(fake.tick_count, fake.timer_due); // one overdue ticks now
    fake.timer_due += fake.timer_interval;
    SendMessageA(window, WM_TIMER, frame_timer_id, 0);
}

} // namespace

// The display's rate is read at the start and at each change of its mode,
// and held to exactly though the timer counts whole milliseconds: at 60 Hz
// the frames of a second are 60, neither 58 (a timer of 17 ms) nor more than
// the display shows. News of a mode that comes faster than the frames never
// holds them back.
TEST(RenderProc, FramesComeOneARefreshOfTheDisplayWhateverNewsComesBetween)
{
    const struct {
        DWORD hertz;
        DWORD storm_hertz; // of every other mode in a storm of switches, 0 for none
        DWORD storm_ms;    // between two switches
        DWORD frame_ms;    // that drawing a frame takes
        int frames;        // in a second
    } cases[] = {{60, 0, 0, 0, 60},  {75, 0, 0, 0, 75},   {30, 0, 0, 0, 30}, {0, 0, 0, 0, 100},
                 {1, 0, 0, 0, 100},  {240, 0, 0, 0, 100}, {60, 0, 0, 4, 60}, {0, 0, 0, 4, 100},
                 {60, 60, 5, 0, 60}, {60, 60, 3, 0, 60},  {60, 50, 5, 0, 50}};
    fake.display_frequency = 60;
    const HWND window = make_saver_window();
    EXPECT_EQ(fake.count("SetTimer(1,17)"), 1); // 16.67 ms to the first frame
    for (const auto& c : cases) {
        fake.display_frequency = c.hertz;
        fake.frame_ms = c.frame_ms;
        SendMessageA(window, WM_DISPLAYCHANGE, 32, MAKELPARAM(640, 480));
        for (int settling = 0; settling < 3; ++settling)
            deliver_tick(window);
        const DWORD start = fake.tick_count;
        DWORD next_switch = start + c.storm_ms;
        int frames = 0;
        while (fake.timer_due <= start + 1000) {
            if (c.storm_ms && next_switch < fake.timer_due) {
                fake.tick_count = next_switch;
                fake.display_frequency =
                    fake.display_frequency == c.hertz ? c.storm_hertz : c.hertz;
                SendMessageA(window, WM_DISPLAYCHANGE, 32, MAKELPARAM(640, 480));
                next_switch += c.storm_ms;
            } else {
                deliver_tick(window);
                ++frames;
            }
        }
        EXPECT_EQ(frames, c.frames) << c.hertz << " Hz, a switch every " << c.storm_ms
                                    << " ms, frames of " << c.frame_ms << " ms";
    }
    DestroyWindow(window);
    fake.display_frequency = 0;
    fake.frame_ms = 0;
}

TEST(RenderProc, ASecondSaverBringsTheFirstToTheFront)
{
    fake.running_saver = fake_window(77);
    fake.foreign_windows = {fake_window(77)};
    EXPECT_EQ(run_saver(nullptr), 0);
    EXPECT_EQ(fake.count("SetForegroundWindow(77)"), 1);
    EXPECT_TRUE(std::none_of(fake.calls.begin(), fake.calls.end(), [](const std::string& c) {
        return c.rfind("CreateWindowExA", 0) == 0;
    }));
    fake.foreign_windows.clear(); // found, but gone by now: this one saves
    EXPECT_EQ(run_saver(nullptr), 0);
    EXPECT_EQ(fake.count("SetForegroundWindow(77)"), 1);
    EXPECT_EQ(fake.count("CreateWindowExA(Screen Saver,640x480,0)"), 1);
}

namespace
{

std::int64_t milliseconds = 0;
std::int64_t next_millisecond()
{
    return ++milliseconds;
}

} // namespace

// The power news a saver asked for paces or pauses its frames; every other
// power message still ends it.
TEST(RenderProc, WhatNobodySeesIsNotDrawnAndBatteryAndTimeCostWhatTheSettingsSay)
{
    set_millisecond_source(next_millisecond);
    fake.ac_line_status = 0; // on battery from the start
    scene_settings.black_after_minutes = 10;
    const HWND window = make_saver_window();
    EXPECT_EQ(fake.count("SetTimer(1,33)"), 1); // the default on battery: 30 a second
    const auto told = [&](const GUID& setting, BYTE state) {
        POWERBROADCAST_SETTING news{setting, 1, {state}};
        return SendMessageA(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                            reinterpret_cast<LPARAM>(&news));
    };
    const struct {
        const GUID* setting;
        BYTE state;
        int battery_choice;
        DWORD later_ms;
        int swaps;         // of two ticks
        const char* timer; // set by the news, or nullptr
    } steps[] = {
        {&GUID_CONSOLE_DISPLAY_STATE, 0, battery_slower, 0, 0, "SetTimer(1,33)"}, // off
        {&GUID_CONSOLE_DISPLAY_STATE, 2, battery_slower, 0, 2, "SetTimer(1,33)"}, // dimmed
        {&GUID_ACDC_POWER_SOURCE, 0, battery_slower, 0, 2, "SetTimer(1,5)"},      // mains
        {&GUID_POWER_SAVING_STATUS, 1, battery_slower, 0, 2, "SetTimer(1,33)"},   // saver on
        {&GUID_ACDC_POWER_SOURCE, 0, battery_slower, 0, 2, "SetTimer(1,33)"},     // still saving
        {&GUID_POWER_SAVING_STATUS, 0, battery_slower, 0, 2, "SetTimer(1,5)"},
        {&GUID_ACDC_POWER_SOURCE, 1, battery_black, 0, 1, "SetTimer(1,5)"}, // black once
        {&GUID_ACDC_POWER_SOURCE, 1, battery_same, 0, 2, "SetTimer(1,5)"},
        {&GUID_ACDC_POWER_SOURCE, 1, battery_same, 10 * 60000, 1, nullptr}, // black for good
        {&GUID_CONSOLE_DISPLAY_STATE, 1, battery_same, 0, 0, nullptr},
    };
    for (const auto& step : steps) {
        scene_settings.on_battery = step.battery_choice;
        fake.tick_count += step.later_ms;
        fake.calls.clear();
        const std::int64_t before = milliseconds;
        EXPECT_EQ(told(*step.setting, step.state), TRUE);
        for (int tick = 0; tick < 2; ++tick)
            deliver_tick(window);
        EXPECT_EQ(fake.count("SwapBuffers"), step.swaps) << int(step.state);
        EXPECT_EQ(fake.count(step.timer ? step.timer : "SetTimer(1,5)"), step.timer ? 1 : 0);
        // Unseen, the scene still steps as the clock goes; black for good, not even that.
        EXPECT_EQ(milliseconds - before, step.timer ? 2 : 0);
        EXPECT_EQ(frame_clock.elapsed_ms, static_cast<double>(milliseconds));
    }
    EXPECT_EQ(fake.closes_posted(), 0);
    SendMessageA(window, WM_POWERBROADCAST, 4 /* suspend */, 0);
    EXPECT_EQ(told(GUID{}, 0), 0); // news it did not ask for
    EXPECT_EQ(fake.closes_posted(), 2);
    DestroyWindow(window);
    set_millisecond_source(nullptr);
    scene_settings = SceneSettings{};
}
