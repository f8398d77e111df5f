#include <poll.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "platform/posix_end_requests.h"
#include "platform/x11_internal.h"

namespace
{

// Due times are kept in 64 bits: 32-bit tick differences read as signed
// numbers would put a tick weeks away after the clock jumps 25 days.
struct Timer {
    HWND window;
    UINT_PTR id;
    UINT interval_ms;
    TIMERPROC procedure;
    std::uint64_t due;
};

std::deque<MSG> posted;
std::vector<Window> paint_pending;
std::vector<Timer> timers;
bool quit_posted = false;
int quit_code = 0;

// Messages from other processes travel as X client messages of this type.
const char* const message_type = "_ORBDRIFT_WIN32_MESSAGE";

bool in_range(UINT message, UINT first, UINT last)
{
    return (first == 0 && last == 0) || (message >= first && message <= last);
}

bool for_window(HWND target, HWND filter)
{
    return !filter || target == filter;
}

// A request to end from outside ends the saver as a closed window ends it.
void end_if_requested()
{
    if (take_end_request() && !x11::destroy_own_windows())
        PostQuitMessage(0);
}

// A clock that went back must not hold a timer for the time it lost: no tick
// is ever further away than one interval.
bool is_due(Timer& timer, std::uint64_t now)
{
    timer.due = std::min(timer.due, now + timer.interval_ms);
    return now >= timer.due;
}

bool timer_due()
{
    const std::uint64_t now = posix::tick_source();
    return std::any_of(timers.begin(), timers.end(), [now](Timer& t) { return is_due(t, now); });
}

void pump_events()
{
    end_if_requested();
    if (Display* d = x11::display()) {
        // A tick draws a frame, and Mesa's software renderer, drawing into a
        // window the server has already destroyed (a preview's host that
        // went), can clear a buffer of a garbage size for minutes. One round
        // trip before a tick brings the news of a destruction in before the
        // frame.
        if (timer_due())
            XSync(d, False);
        while (XPending(d) > 0) {
            XEvent event;
            XNextEvent(d, &event);
            x11::handle_event(event);
        }
    }
    // After the events, so that a wallpaper they covered draws no frame more.
    x11::tell_power_changes();
}

// Windows makes quit, paint and timer messages only when nothing else waits,
// in that order; input and posted messages are always handled first.
bool take_message(MSG* msg, HWND window, UINT first, UINT last, bool remove)
{
    for (auto it = posted.begin(); it != posted.end(); ++it) {
        if (for_window(it->hwnd, window) && in_range(it->message, first, last)) {
            *msg = *it;
            if (remove)
                posted.erase(it);
            return true;
        }
    }
    if (quit_posted && in_range(WM_QUIT, first, last)) {
        *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(quit_code), 0, GetTickCount(), {}};
        if (remove)
            quit_posted = false;
        return true;
    }
    if (in_range(WM_PAINT, first, last)) {
        for (auto it = paint_pending.begin(); it != paint_pending.end(); ++it) {
            if (for_window(x11::hwnd(*it), window)) {
                *msg = MSG{x11::hwnd(*it), WM_PAINT, 0, 0, GetTickCount(), {}};
                if (remove)
                    paint_pending.erase(it);
                return true;
            }
        }
    }
    if (in_range(WM_TIMER, first, last)) {
        const std::uint64_t now = posix::tick_source();
        for (Timer& timer : timers) {
            if (for_window(timer.window, window) && is_due(timer, now)) {
                *msg = MSG{timer.window, WM_TIMER, timer.id,
                           reinterpret_cast<LPARAM>(timer.procedure), static_cast<DWORD>(now), {}};
                if (remove) // missed ticks are not made up, as on Windows
                    timer.due = now + timer.interval_ms;
                return true;
            }
        }
    }
    return false;
}

int sooner(int timeout, int wait)
{
    return timeout < 0 || (wait >= 0 && wait < timeout) ? wait : timeout;
}

// Sleeps until the X server says something, an end is requested, the power
// source changes or the next timer or look at the monitor's power is due.
void wait_for_work()
{
    Display* d = x11::display();
    int timeout = x11::power_wait_ms();
    const std::uint64_t now = posix::tick_source();
    for (Timer& timer : timers)
        timeout = sooner(timeout, is_due(timer, now) ? 0 : static_cast<int>(timer.due - now));
    pollfd descriptors[3] = {{end_request_fd(), POLLIN, 0},
                             {d ? ConnectionNumber(d) : -1, POLLIN, 0},
                             {x11::power_descriptor(), POLLIN, 0}};
    poll(descriptors, 3, timeout);
}

const Timer* registered_timer(HWND window, UINT_PTR id)
{
    for (const Timer& timer : timers)
        if (timer.window == window && timer.id == id)
            return &timer;
    return nullptr;
}

} // namespace

namespace x11
{

void queue_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    posted.push_back(MSG{window, message, wparam, lparam, GetTickCount(), {}});
}

void mark_for_paint(Window id)
{
    if (std::find(paint_pending.begin(), paint_pending.end(), id) == paint_pending.end())
        paint_pending.push_back(id);
}

void forget_messages(HWND window)
{
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [window](const Timer& t) { return t.window == window; }),
                 timers.end());
    paint_pending.erase(std::remove(paint_pending.begin(), paint_pending.end(), xid(window)),
                        paint_pending.end());
}

bool is_posted_message(const XClientMessageEvent& event)
{
    return event.message_type == atom(message_type) && event.format == 32;
}

} // namespace x11

BOOL PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (!window || x11::own_window(x11::xid(window))) {
        x11::queue_message(window, message, wparam, lparam);
        return TRUE;
    }
    // A window of another process: its own queue is over there.
    if (!x11::window_exists(x11::xid(window)))
        return FALSE;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = x11::xid(window);
    event.xclient.message_type = x11::atom(message_type);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(message);
    event.xclient.data.l[1] = static_cast<long>(wparam);
    event.xclient.data.l[2] = static_cast<long>(lparam);
    return x11::accepted(
               [&](Display* d) { XSendEvent(d, x11::xid(window), False, NoEventMask, &event); })
               ? TRUE
               : FALSE;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    const x11::OwnWindow* own = x11::own_window(x11::xid(window));
    return own ? own->procedure(window, message, wparam, lparam) : 0;
}

BOOL GetMessageA(MSG* msg, HWND window, UINT first, UINT last)
{
    for (;;) {
        pump_events();
        if (take_message(msg, window, first, last, true))
            return msg->message == WM_QUIT ? FALSE : TRUE;
        if (!x11::display() && timers.empty())
            return -1; // nothing could ever arrive
        wait_for_work();
    }
}

BOOL PeekMessageA(MSG* msg, HWND window, UINT first, UINT last, UINT remove)
{
    pump_events();
    return take_message(msg, window, first, last, (remove & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL TranslateMessage(const MSG*)
{
    return FALSE;
} // the saver reads no characters

// A timer message names its procedure in lParam; like Windows, only a
// procedure that SetTimer registered for that window and id is ever called,
// so a message that names any other address calls nothing.
LRESULT DispatchMessageA(const MSG* msg)
{
    if (msg->message != WM_TIMER || !msg->lParam)
        return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    const Timer* timer = registered_timer(msg->hwnd, msg->wParam);
    if (timer && reinterpret_cast<LPARAM>(timer->procedure) == msg->lParam)
        timer->procedure(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
    return 0;
}

void PostQuitMessage(int exit_code)
{
    quit_posted = true;
    quit_code = exit_code;
}

UINT RegisterWindowMessageA(LPCSTR name)
{
    static std::vector<std::string> names;
    if (!name || !*name)
        return 0;
    auto it = std::find(names.begin(), names.end(), name);
    if (it == names.end())
        it = names.insert(names.end(), name);
    return 0xC000 + static_cast<UINT>(it - names.begin());
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse_ms, TIMERPROC procedure)
{
    if (window && !x11::own_window(x11::xid(window)))
        return 0;
    // Windows' limits: no timer ticks more often than every 10 ms.
    elapse_ms = std::clamp<UINT>(elapse_ms, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    const std::uint64_t due = posix::tick_source() + elapse_ms;
    for (Timer& timer : timers) {
        if (timer.window == window && timer.id == id) {
            timer = Timer{window, id, elapse_ms, procedure, due};
            return id;
        }
    }
    timers.push_back(Timer{window, id, elapse_ms, procedure, due});
    return id ? id : 1;
}

BOOL KillTimer(HWND window, UINT_PTR id)
{
    const auto before = timers.size();
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [&](const Timer& t) { return t.window == window && t.id == id; }),
                 timers.end());
    // Ticks already due are dropped with the timer, as on Windows.
    return timers.size() < before ? TRUE : FALSE;
}
