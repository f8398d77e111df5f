#include <signal.h>
#include <unistd.h>

#include <cstdint>
#include <ctime>
#include <vector>

#include "platform/window_fixture.h"
#include "platform/x11_internal.h"

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

namespace
{

// Clocks the timers read instead of the real one: one that stands still
// where the test sets it, one that runs but has jumped.
std::uint64_t still_now = 0;
std::uint64_t still_clock()
{
    return still_now;
}
std::int64_t jump = 0;
std::uint64_t jumped_clock()
{
    return posix::steady_milliseconds() + static_cast<std::uint64_t>(jump);
}

bool tick_waiting(HWND window)
{
    MSG msg;
    return PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD) != FALSE;
}

} // namespace

TEST_F(MessagesTest, TimersAreDueWhenWindowsWouldTickAndPendingTicksCanBeRemoved)
{
    const HWND window = make_test_window(0, 50, 50);
    posix::tick_source = still_clock;
    const auto ticks_at = [window](std::uint64_t now) {
        still_now = now;
        return tick_waiting(window);
    };
    still_now = 1000;
    SetTimer(window, 1, 5, nullptr); // raised to 10 ms, as on Windows
    EXPECT_FALSE(ticks_at(1009));
    EXPECT_TRUE(ticks_at(1010));
    EXPECT_FALSE(ticks_at(1019)); // an interval after the tick, not after the start
    EXPECT_TRUE(ticks_at(1030));
    EXPECT_FALSE(ticks_at(1030)); // missed ticks are not made up
    EXPECT_TRUE(KillTimer(window, 1));
    EXPECT_FALSE(ticks_at(1040));

    // The longest interval is capped, not wrapped round into "due now"; a
    // clock that jumps weeks ahead finds the tick due at once.
    SetTimer(window, 2, 0xFFFFFFFFu, nullptr);
    EXPECT_FALSE(ticks_at(1040 + USER_TIMER_MAXIMUM - 1));
    EXPECT_TRUE(ticks_at(1040 + USER_TIMER_MAXIMUM));
    EXPECT_TRUE(ticks_at(still_now + 30ull * 24 * 3600 * 1000));
}

TEST_F(MessagesTest, AClockThatJumpsHoldsNoTickLongerThanItsInterval)
{
    const HWND window = make_test_window(0, 50, 50);
    posix::tick_source = jumped_clock;
    ASSERT_NE(SetTimer(window, 0, 200, nullptr), 0u); // a timer without a number still is one
    for (std::int64_t to : {-3600000ll, 30ll * 24 * 3600 * 1000}) {
        jump = to; // back an hour, then weeks ahead
        // Waiting for the tick sleeps rather than spins, and no longer than the interval.
        const std::clock_t cpu = std::clock();
        const std::uint64_t start = posix::steady_milliseconds();
        MSG msg;
        ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
        EXPECT_EQ(msg.message, UINT(WM_TIMER));
        EXPECT_LT(posix::steady_milliseconds() - start, 20000u);
        EXPECT_LT(std::clock() - cpu, CLOCKS_PER_SEC / 50); // under 20 ms of the 200
    }
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
    forge(ClientMessage, WM_TIMER, 1, 0); // a tick that names no procedure to call
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
