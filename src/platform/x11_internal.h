#pragma once
// What the X11 files of the host layer share with each other; the shell
// never sees it.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <vector>

#include "platform/posix_system.h"
#include "platform/win32_api.h"

namespace x11
{

// The process's one connection, opened on first use; null without a server.
Display* display();
Display* display_if_open();
Atom atom(const char* name);
// Adds to the events this client hears of a window, others may already have
// asked for: the root's are asked for by several parts of the host layer.
void add_events(Display* d, Window id, long events);

// What the process ends with when its connection to the server is lost: 1
// unless set otherwise. Returns the code it replaces.
int set_lost_connection_exit_code(int code);

void begin_error_trap(Display* d);
bool end_error_trap(Display* d);

// Runs X requests and reports whether the server accepted them, without
// letting a protocol error end the process.
template <typename Requests> bool accepted(Requests requests)
{
    Display* d = display();
    begin_error_trap(d);
    requests(d);
    return end_error_trap(d);
}

inline Window xid(HWND window)
{
    return static_cast<Window>(reinterpret_cast<std::uintptr_t>(window));
}
inline HWND hwnd(Window window)
{
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}

// A window of this process.
struct OwnWindow {
    Window id = 0;
    Window parent = 0; // 0 for a top-level window
    WNDPROC procedure = nullptr;
    XVisualInfo* gl_visual = nullptr; // null when the server has no GLX
    bool pixel_format_set = false;
    int width = 0; // as WM_SIZE last reported it
    int height = 0;
    bool full_screen = false; // covers the screen, and follows its size
};

OwnWindow* own_window(Window id);
// X keeps the top three bits of every resource id clear; a larger number
// would reach the server cut to 32 bits and name another window.
constexpr Window largest_window_id = 0x1FFFFFFF;
bool window_exists(Window id);

// The end of one of our windows, whoever destroyed its X window: its
// procedure gets WM_DESTROY while the window is still known, as on Windows,
// then the window, its timers and its pending paint are forgotten. False when
// the window was not (or no longer) ours.
bool end_window(Window id);

// A window of ours changed size, or a window with children of ours did.
void handle_configure(const XConfigureEvent& event);
// The window manager's request to close a window of ours.
bool is_close_request(const XClientMessageEvent& event);

// The pointer events our windows and their grabs listen for.
constexpr long pointer_events = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;

// The screen's monitors, as Windows lists them: always at least one, the
// main one first.
std::vector<RECT> find_monitors(Display* d);
// Monitors that come, go or move, and a screen that changes size: asked of
// the server once, then each change is an event that is_screen_change knows
// (and brings the display's size up to date for), and follow_screen_change
// tells our windows of, as Windows does with WM_DISPLAYCHANGE.
void watch_screen_changes(Display* d);
bool is_screen_change(const XEvent& event);
void follow_screen_change(Display* d);

// The GLX visual every window on that screen is made with, so that a pixel
// format can be set later as on Windows; null when the server has no GLX.
XVisualInfo* gl_visual(int screen);

// The messages an X event stands for, queued or, for a destruction, sent.
void handle_event(const XEvent& event);
void queue_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
bool is_posted_message(const XClientMessageEvent& event); // from another process
// Destroys every window of ours, newest first; false when there was none.
bool destroy_own_windows();
void mark_for_paint(Window id);
void forget_messages(HWND window); // its timers and pending paint

// For the message loop, the power news that windows asked for: the
// descriptor UPower's news comes on (-1 for none), how long the loop may wait
// before the monitor's power is due to be looked at again (-1 for ever), and
// what changed, told to the windows as the loop pumps.
int power_descriptor();
int power_wait_ms();
void tell_power_changes();
// Whether the X server has the monitor powered down; a test may replace it.
extern bool (*monitor_off_source)();

// A wallpaper's window: what of an event tells whether it can be seen, and
// whether it can, on any monitor or in an area of it or of a window that
// fills it (its coordinates are the screen's: it lies at the screen's
// origin); never hidden without one.
void follow_desktop(const XEvent& event);
bool desktop_hidden();
bool desktop_area_unseen(Window window, const RECT& area);

// Hides the pointer over our windows; grabs follow the same cursor.
Cursor blank_cursor();

} // namespace x11
