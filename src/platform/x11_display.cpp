#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/x11_internal.h"

namespace
{

Display* connection = nullptr;
bool connection_tried = false;
int trapped_error = 0;
int lost_connection_exit_code = 1;

// Protocol errors (a window that is gone, a foreign window we may not touch)
// are answers, not reasons to end the saver.
int on_protocol_error(Display*, XErrorEvent* error)
{
    trapped_error = error->error_code;
    return 0;
}

[[noreturn]] int on_connection_lost(Display*)
{
    std::fputs("orbdrift: lost the connection to the X display\n", stderr);
    std::_Exit(lost_connection_exit_code);
}

void send_pending_requests()
{
    XSync(connection, False);
}

} // namespace

namespace x11
{

Display* display()
{
    if (!connection_tried) {
        connection_tried = true;
        connection = XOpenDisplay(nullptr);
        if (!connection) {
            std::fputs("orbdrift: cannot open the X display (is DISPLAY set?)\n", stderr);
            return nullptr;
        }
        XSetErrorHandler(on_protocol_error);
        XSetIOErrorHandler(on_connection_lost);
        posix::flush_before_exit = send_pending_requests;
    }
    return connection;
}

Display* display_if_open()
{
    return connection;
}

Atom atom(const char* name)
{
    return XInternAtom(display(), name, False);
}

void add_events(Display* d, Window id, long events)
{
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(d, id, &attributes))
        XSelectInput(d, id, attributes.your_event_mask | events);
}

int set_lost_connection_exit_code(int code)
{
    return std::exchange(lost_connection_exit_code, code);
}

void begin_error_trap(Display* d)
{
    XSync(d, False);
    trapped_error = 0;
}

bool end_error_trap(Display* d)
{
    XSync(d, False);
    return trapped_error == 0;
}

Cursor blank_cursor()
{
    static Cursor cursor = None;
    if (cursor == None) {
        Display* d = display();
        static const char no_bits[1] = {0};
        Pixmap empty = XCreateBitmapFromData(d, DefaultRootWindow(d), no_bits, 1, 1);
        XColor black{};
        cursor = XCreatePixmapCursor(d, empty, empty, &black, &black, 0, 0);
        XFreePixmap(d, empty);
    }
    return cursor;
}

} // namespace x11
