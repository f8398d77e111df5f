#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "scene/frame_driver.h"
#include "shell/monitor_areas.h"
#include "shell/render_proc.h"
#include "shell/saver_settings.h"
#include "shell/saver_process.h"
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

} // namespace

TEST(RenderProc, TheSaverRunsWithAContextATimerAndFramesUntilClosed)
{
    fake.foreign_windows = {};
    fake.imm_loaded = true;
    module_instance = reinterpret_cast<HINSTANCE>(0x40);
    // Each tick the loop dispatches draws one frame and presents it.
    fake.posted = {MSG{fake_window(0x1000), WM_TIMER, 1, 0, 0, {}},
                   MSG{fake_window(0x1000), WM_TIMER, 9, 0, 0, {}},
                   MSG{fake_window(0x1000), WM_SIZE, 0, MAKELPARAM(300, 200), 0, {}},
                   MSG{fake_window(0x1000), WM_KEYDOWN, 0, 0, 0, {}}};
    EXPECT_EQ(run_saver(nullptr), 0);
    // A display mode's window on Linux may change size: the views follow.
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
    const std::vector<std::string> creation = {"GetDC(4096)",       format,
                                               "SetPixelFormat(7)", "wglCreateContext",
                                               "wglMakeCurrent",    "SetTimer(1,5)"};
    const auto create = std::find(fake.calls.begin(), fake.calls.end(), "GetDC(4096)");
    ASSERT_NE(create, fake.calls.end());
    // The input method is detached and the cursor hidden before the context is made.
    EXPECT_EQ(std::vector<std::string>(create - 2, create),
              (std::vector<std::string>{"ImmAssociateContext(0)", "SetCursor(0)"}));
    EXPECT_EQ(std::vector<std::string>(create, create + 6), creation);
    EXPECT_EQ(fake.count("SwapBuffers"), 2); // any timer identifier draws
    EXPECT_EQ(fake.count("Sleep(0)"), 2);

    const auto destroy = std::find(fake.calls.begin(), fake.calls.end(), "DestroyWindow");
    ASSERT_NE(destroy, fake.calls.end());
    EXPECT_EQ(calls_from(static_cast<std::size_t>(destroy - fake.calls.begin())),
              (std::vector<std::string>{"DestroyWindow", "ImmAssociateContext(119)", "KillTimer(1)",
                                        "wglMakeCurrent(none)", "wglDeleteContext", "ReleaseDC"}));
    EXPECT_EQ(last_bound_texture, no_texture_bound); // the binding went with the context
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

TEST(RenderProc, TheDialogAnswersOnlyOkAndCancel)
{
    const HWND dialog = fake_window(0xD1A);
    EXPECT_EQ(config_dialog_proc(dialog, WM_COMMAND, 3, 0), 0);
    EXPECT_TRUE(prepare_config_dialog(nullptr));
}

// Monitors in screen coordinates, y down, as GL areas of the window, y up.
TEST(RenderProc, EachMonitorIsAnAreaOfTheWindowFromItsBottomLeft)
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
    // The saver window takes them only when asked, and only with several.
    client_width = 1280;
    client_height = 480;
    fake.monitors = {{0, 0, 640, 480}, {640, 0, 1280, 480}};
    scene_settings.each_monitor = true;
    use_monitors(fake_window(1));
    EXPECT_EQ(screen_area_count, 2);
    preview_mode = TRUE;
    use_monitors(fake_window(1));
    EXPECT_EQ(screen_area_count, 0);
    preview_mode = FALSE;
    const struct {
        std::vector<RECT> monitors;
        int areas;
    } layouts[] = {
        {{{0, 0, 1280, 480}}, 0},                          // one: the window's own picture
        {{{0, 0, 640, 480}, {5000, 0, 5640, 480}}, 1},     // one of two outside the screen
        {std::vector<RECT>(max_screen_areas, {0, 0, 80, 30}), max_screen_areas},
        {std::vector<RECT>(max_screen_areas + 1, {0, 0, 80, 30}), 0}, // one across all
    };
    for (const auto& layout : layouts) {
        fake.monitors = layout.monitors;
        use_monitors(fake_window(1));
        EXPECT_EQ(screen_area_count, layout.areas);
    }
}
