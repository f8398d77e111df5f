// Turns X events into the window messages the saver's shell reacts to.
#include "platform/x11_internal.h"

namespace
{

LPARAM client_position(int x, int y)
{
    return MAKELPARAM(x, y);
}

void button(const XButtonEvent& event)
{
    const HWND window = x11::hwnd(event.window);
    const LPARAM position = client_position(event.x, event.y);
    switch (event.button) {
    case Button1:
        x11::queue_message(window, WM_LBUTTONDOWN, 0, position);
        break;
    case Button2:
        x11::queue_message(window, WM_MBUTTONDOWN, 0, position);
        break;
    case Button3:
        x11::queue_message(window, WM_RBUTTONDOWN, 0, position);
        break;
    default:
        break; // wheel steps are not buttons on Windows
    }
}

// What another program may ask of a window of ours. Its numbers are never
// taken as addresses, so only messages without a pointer are accepted:
// WM_CLOSE, the ordinary request to end, and WM_CONTEXTMENU, which a preview
// forwards to its host (a window handle and screen coordinates). Everything
// else, timer ticks and creation or destruction above all, comes only from
// this process.
bool accepted_from_outside(UINT message)
{
    return message == WM_CLOSE || message == WM_CONTEXTMENU;
}

void posted_from_outside(HWND window, const XClientMessageEvent& event)
{
    const auto message = static_cast<UINT>(event.data.l[0]);
    if (accepted_from_outside(message))
        x11::queue_message(window, message, static_cast<WPARAM>(event.data.l[1]),
                           static_cast<LPARAM>(event.data.l[2]));
}

} // namespace

namespace x11
{

void handle_event(const XEvent& event)
{
    follow_desktop(event); // events of windows not ours too
    const Window id = event.xany.window;
    if (event.type == DestroyNotify) {
        // Gone with its parent, ours or the host's; after DestroyWindow the
        // window is no longer known and this does nothing. Another client can
        // send a DestroyNotify of its own making; only the server's counts.
        if (!event.xany.send_event)
            end_window(event.xdestroywindow.window);
        return;
    }
    if (is_screen_change(event))
        follow_screen_change(display());
    if (event.type == ConfigureNotify) { // only the server's word on a size counts
        if (!event.xany.send_event)
            handle_configure(event.xconfigure);
        return;
    }
    if (!own_window(id))
        return;
    const HWND window = hwnd(id);
    switch (event.type) {
    case KeyPress: // with Alt held Windows reports a system key
        queue_message(window, (event.xkey.state & Mod1Mask) ? WM_SYSKEYDOWN : WM_KEYDOWN,
                      event.xkey.keycode, 1);
        break;
    case ButtonPress:
        button(event.xbutton);
        break;
    case ButtonRelease:
        if (event.xbutton.button == Button3)
            queue_message(window, WM_RBUTTONUP, 0,
                          client_position(event.xbutton.x, event.xbutton.y));
        break;
    case MotionNotify:
        queue_message(window, WM_MOUSEMOVE, 0, client_position(event.xmotion.x, event.xmotion.y));
        break;
    case FocusOut: // focus gone to another client, not moved inside ours
        if ((event.xfocus.mode == NotifyNormal || event.xfocus.mode == NotifyWhileGrabbed) &&
            event.xfocus.detail != NotifyInferior && event.xfocus.detail != NotifyPointer)
            queue_message(window, WM_ACTIVATEAPP, FALSE, 0);
        break;
    case Expose:
        if (event.xexpose.count == 0)
            mark_for_paint(id);
        break;
    case ClientMessage:
        if (is_posted_message(event.xclient))
            posted_from_outside(window, event.xclient);
        else if (is_close_request(event.xclient))
            queue_message(window, WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
}

} // namespace x11
