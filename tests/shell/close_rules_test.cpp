#include <gtest/gtest.h>

#include "shell/saver_window.h"
#include "shell/window_chain.h"
#include "support/fake_win32.h"

namespace
{

const HWND host = fake_window(123);

// A saver window made as the shell makes it, without running its loop.
HWND make_saver(HWND parent = nullptr)
{
    fake.foreign_windows.push_back(host);
    preview_mode = parent != nullptr;
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = saver_window_proc;
    window_class.lpszClassName = saver_class_name;
    RegisterClassA(&window_class);
    saver_window = CreateWindowExA(0, saver_class_name, parent ? "Preview" : "Screen Saver",
                                   WS_VISIBLE, 0, 0, 640, 480, parent, nullptr, nullptr, nullptr);
    fake.calls.clear();
    fake.posted.clear();
    return saver_window;
}

LRESULT send(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0)
{
    return SendMessageA(window, message, wparam, lparam);
}

void move_cursor_to(LONG x, LONG y, HWND window)
{
    fake.cursor = {x, y};
    send(window, WM_MOUSEMOVE);
}

} // namespace

TEST(CloseRules, TheMouseMayMoveFourPixelsButSmallMovesAddUp)
{
    const HWND window = make_saver();
    move_cursor_to(2, 2, window);
    EXPECT_EQ(fake.closes_posted(), 0);
    move_cursor_to(3, 2, window); // 5 from where it started
    EXPECT_EQ(fake.closes_posted(), 1);

    fake.posted.clear();
    move_cursor_to(5, 2, window); // the reference moved to (3, 2)
    move_cursor_to(7, 2, window);
    EXPECT_EQ(fake.closes_posted(), 0);
    move_cursor_to(9, 2, window); // three moves of 2
    EXPECT_EQ(fake.closes_posted(), 1);
}

TEST(CloseRules, EachInputPostsExactlyOneClose)
{
    const HWND window = make_saver();
    for (UINT message : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN,
                         WM_POWERBROADCAST}) {
        fake.posted.clear();
        send(window, message);
        EXPECT_EQ(fake.closes_posted(), 1) << message;
    }
    fake.posted.clear();
    send(window, WM_ACTIVATEAPP, TRUE);
    send(window, WM_POWER, 2);
    EXPECT_EQ(fake.closes_posted(), 0);
    send(window, WM_ACTIVATEAPP, FALSE);
    send(window, WM_POWER, 3);
    EXPECT_EQ(fake.closes_posted(), 2);
}

TEST(CloseRules, TheCursorStaysHiddenAndTheTitleFixed)
{
    const HWND window = make_saver();
    EXPECT_EQ(send(window, WM_SETCURSOR), 1);
    EXPECT_EQ(send(window, WM_SETTEXT), 0);
    send(window, WM_SHOWWINDOW, FALSE);
    send(window, WM_SHOWWINDOW, TRUE);
    send(window, WM_PAINT);
    EXPECT_EQ(fake.count("SetCursor(0)"), 3);
    EXPECT_EQ(fake.count("DefWindowProcA(" + std::to_string(WM_PAINT) + ")"), 1);
    EXPECT_EQ(fake.count("DefWindowProcA(" + std::to_string(WM_SETTEXT) + ")"), 0);
    EXPECT_EQ(send(window, WM_HELP), TRUE); // outside a preview, help is the default's
    EXPECT_TRUE(fake.posted.empty());
}

TEST(CloseRules, OnlyTheExactScreenSaveCommandIsIgnored)
{
    const HWND window = make_saver();
    const std::string default_handling = "DefWindowProcA(" + std::to_string(WM_SYSCOMMAND) + ")";
    for (WPARAM command : {SC_SCREENSAVE, SC_NEXTWINDOW, SC_PREVWINDOW})
        EXPECT_EQ(send(window, WM_SYSCOMMAND, command), 0);
    EXPECT_EQ(fake.count(default_handling), 0);
    send(window, WM_SYSCOMMAND, SC_SCREENSAVE | 2);
    EXPECT_EQ(fake.count(default_handling), 1);
}

TEST(CloseRules, APreviewClosesOnNothingAndHandsContextMenusToTheHost)
{
    const HWND window = make_saver(host);
    for (UINT message : {WM_KEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_POWERBROADCAST})
        send(window, message);
    move_cursor_to(100, 100, window);
    send(window, WM_ACTIVATEAPP, FALSE);
    send(window, WM_PAINT);
    EXPECT_EQ(fake.closes_posted(), 0);
    EXPECT_EQ(fake.count("SetCursor(0)"), 0);

    for (UINT message : {WM_CONTEXTMENU, WM_HELP}) {
        fake.posted.clear();
        EXPECT_EQ(send(window, message, reinterpret_cast<WPARAM>(window), 0x00050006), 1);
        ASSERT_EQ(fake.posted.size(), 1u);
        EXPECT_EQ(fake.posted[0].hwnd, host);
        EXPECT_EQ(fake.posted[0].message, message);
        EXPECT_EQ(fake.posted[0].wParam, reinterpret_cast<WPARAM>(host));
        EXPECT_EQ(fake.posted[0].lParam, 0x00050006);
    }
    fake.foreign_windows.clear(); // a host that went away hears nothing
    fake.posted.clear();
    EXPECT_EQ(send(window, WM_HELP), 1);
    EXPECT_TRUE(fake.posted.empty());
}

TEST(CloseRules, OnTheNtFamilyACloseDestroysAtOnce)
{
    const HWND window = make_saver();
    send(window, WM_CLOSE);
    EXPECT_EQ(fake.count("DestroyWindow"), 1);
    EXPECT_EQ(fake.verifier_calls, 0);
}
