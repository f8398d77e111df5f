#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "scene/frame_driver.h"
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

