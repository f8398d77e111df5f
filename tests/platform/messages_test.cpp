#include <vector>

#include "platform/window_fixture.h"

class MessagesTest : public XServerTest
{
};

TEST_F(MessagesTest, PostedMessagesComeBackInOrderAndBeforeAnyTimerTick)
{
    const HWND window = make_test_window(0, 50, 50);
    ASSERT_NE(window, nullptr);
    SetTimer(window, 1, 1, nullptr);
    Sleep(20); // the tick is long due
    PostMessageA(window, WM_APP + 1, 11, 0);
    PostMessageA(window, WM_APP + 2, 22, 0);
    PostQuitMessage(7);

    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_APP + 1));
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_APP + 2));
    EXPECT_EQ(msg.wParam, 22u);
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0)); // quit comes before the timer
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_TIMER));
    EXPECT_EQ(msg.wParam, 1u);
}

TEST_F(MessagesTest, SendingIsSynchronousAndPostingIsNot)
{
    const HWND window = make_test_window(0, 50, 50);
    seen.clear();
    SendMessageA(window, WM_APP, 1, 2);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].message, UINT(WM_APP));
    PostMessageA(window, WM_APP + 5, 0, 0);
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_TRUE(pump_until([] { return saw(WM_APP + 5); }));
}

TEST_F(MessagesTest, TimersTickAtTheirIntervalAndPendingTicksCanBeRemoved)
{
    const HWND window = make_test_window(0, 50, 50);
    SetTimer(window, 1, 5, nullptr);
    MSG msg;
    const DWORD start = GetTickCount();
    int ticks = 0;
    while (ticks < 10 && GetMessageA(&msg, nullptr, 0, 0))
        ticks += msg.message == WM_TIMER;
    EXPECT_GE(GetTickCount() - start, 45u); // ten ticks 5 ms apart

    Sleep(10);
    EXPECT_TRUE(PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD));
    EXPECT_FALSE(PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD));
    EXPECT_TRUE(KillTimer(window, 1));
    Sleep(10);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessagesTest, ClosingDestroysTheWindowAndEndsTheLoop)
{
    const HWND window = make_test_window(WS_POPUP | WS_VISIBLE, 50, 50);
    ASSERT_TRUE(saw(WM_CREATE));
    EXPECT_TRUE(saw(WM_SHOWWINDOW));
    PostMessageA(window, WM_CLOSE, 0, 0);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0))
        DispatchMessageA(&msg);
    EXPECT_TRUE(saw(WM_DESTROY));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(RegisterWindowMessageA("QueryCancelAutoPlay"),
              RegisterWindowMessageA("QueryCancelAutoPlay"));
}
