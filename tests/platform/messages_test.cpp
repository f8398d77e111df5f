#include <signal.h>
#include <unistd.h>

#include <cstdint>
#include <ctime>
#include <vector>

#include "platform/window_fixture.h"

// After gtest: Xlib defines macros such as None that gtest uses as names.
#include <X11/Xlib.h>

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

TEST_F(MessagesTest, TimersTickNoFasterThanWindowsAllowsAndPendingTicksCanBeRemoved)
{
    const HWND window = make_test_window(0, 50, 50);
    SetTimer(window, 1, 5, nullptr); // raised to 10 ms, as on Windows
    MSG msg;
    const DWORD start = GetTickCount();
    int ticks = 0;
    while (ticks < 10 && GetMessageA(&msg, nullptr, 0, 0))
        ticks += msg.message == WM_TIMER;
    EXPECT_GE(GetTickCount() - start, 90u); // ten ticks at least 10 ms apart

    // Longer than any pause of a busy machine between the two looks.
    SetTimer(window, 1, 300, nullptr);
    Sleep(310);
    EXPECT_TRUE(PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD));
    EXPECT_FALSE(PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD));
    EXPECT_TRUE(KillTimer(window, 1));
    Sleep(10);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));

    // The longest interval is capped, not wrapped round into "due now".
    SetTimer(window, 2, 0xFFFFFFFFu, nullptr);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    KillTimer(window, 2);

    // Waiting for a tick sleeps rather than spins; a timer without a number still is one.
    ASSERT_NE(SetTimer(window, 0, 200, nullptr), 0u);
    const std::clock_t cpu = std::clock();
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_TIMER));
    EXPECT_LT(std::clock() - cpu, CLOCKS_PER_SEC / 50); // under 20 ms of the 200
}

namespace
{

int timer_procedure_calls = 0;
void CALLBACK count_timer_call(HWND, UINT, UINT_PTR, DWORD)
{
    ++timer_procedure_calls;
}

} // namespace

TEST_F(MessagesTest, OnlyARegisteredTimerProcedureIsCalled)
{
    const HWND window = make_test_window(0, 50, 50);
    const auto procedure = reinterpret_cast<LPARAM>(&count_timer_call);
    seen.clear();
    MSG tick{window, WM_TIMER, 3, procedure, 0, {}};
    DispatchMessageA(&tick); // no timer 3 yet
    SetTimer(window, 3, 1000, count_timer_call);
    tick.lParam = 0x41414141;
    DispatchMessageA(&tick); // a forged address
    tick.wParam = 4;
    tick.lParam = procedure;
    DispatchMessageA(&tick); // the right procedure, the wrong id
    EXPECT_EQ(timer_procedure_calls, 0);
    tick.wParam = 3;
    DispatchMessageA(&tick);
    EXPECT_EQ(timer_procedure_calls, 1);
    EXPECT_TRUE(seen.empty()); // none of them reached the window procedure
}

TEST_F(MessagesTest, AnotherClientCanOnlyAskToCloseOrForAContextMenu)
{
    const HWND window = make_test_window(0, 50, 50);
    const auto id = static_cast<Window>(reinterpret_cast<std::uintptr_t>(window));
    Display* other = XOpenDisplay(nullptr);
    const auto forge = [&](int type, long message, long wparam, long lparam) {
        XEvent event{};
        event.xclient.type = type;
        event.xclient.window = id;
        event.xclient.message_type = XInternAtom(other, "_ORBDRIFT_WIN32_MESSAGE", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = message;
        event.xclient.data.l[1] = wparam;
        event.xclient.data.l[2] = lparam;
        if (type == DestroyNotify) {
            event.xdestroywindow.event = id;
            event.xdestroywindow.window = id;
        }
        XSendEvent(other, id, False, type == DestroyNotify ? StructureNotifyMask : NoEventMask,
                   &event);
    };
    for (long message : {WM_TIMER, WM_CREATE, WM_DESTROY, WM_HELP, WM_SETTEXT, WM_APP})
        forge(ClientMessage, message, 1, 0x41414141);
    forge(DestroyNotify, 0, 0, 0);
    forge(ClientMessage, WM_CONTEXTMENU, 1, 0x00050007);
    forge(ClientMessage, WM_CLOSE, 0, 0);
    XSync(other, False);
    seen.clear();
    EXPECT_TRUE(pump_until([] { return saw(WM_CLOSE); }));
    ASSERT_EQ(seen.size(), 3u) << "only the context menu, the close and what closing does";
    EXPECT_EQ(seen[0].message, UINT(WM_CONTEXTMENU));
    EXPECT_EQ(seen[0].lparam, 0x00050007);
    EXPECT_EQ(seen[1].message, UINT(WM_CLOSE));
    EXPECT_EQ(seen[2].message, UINT(WM_DESTROY));
    XCloseDisplay(other);
}

TEST_F(MessagesTest, TerminationSignalsDestroyTheWindowsAndEndTheLoopWithZero)
{
    for (int signal_number : {SIGTERM, SIGINT, SIGHUP}) {
        const HWND window = make_test_window(WS_POPUP | WS_VISIBLE, 50, 50);
        seen.clear();
        kill(getpid(), signal_number);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0))
            DispatchMessageA(&msg);
        EXPECT_EQ(msg.wParam, 0u);
        EXPECT_TRUE(saw(WM_DESTROY)) << signal_number;
        EXPECT_FALSE(IsWindow(window));
    }
}

TEST_F(MessagesTest, ClosingDestroysTheWindowAndEndsTheLoop)
{
    const HWND window = make_test_window(WS_POPUP | WS_VISIBLE, 50, 50);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front().message, UINT(WM_CREATE));
    EXPECT_EQ(seen.front().wparam, 0u);
    EXPECT_TRUE(saw(WM_SHOWWINDOW));
    PostMessageA(window, WM_CLOSE, 0, 0);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0))
        DispatchMessageA(&msg);
    EXPECT_TRUE(saw(WM_DESTROY));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(RegisterWindowMessageA("QueryCancelAutoPlay"),
              RegisterWindowMessageA("QueryCancelAutoPlay"));
    EXPECT_EQ(RegisterWindowMessageA(""), 0u);
}
