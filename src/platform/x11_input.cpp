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

} // namespace

namespace x11
{

void handle_event(const XEvent& event)
{
    const Window id = event.xany.window;
    if (event.type == DestroyNotify) {
        // Gone with its parent, ours or the host's; after DestroyWindow the
        // window is no longer known and this does nothing.
        end_window(event.xdestroywindow.window);
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
            queue_message(window, static_cast<UINT>(event.xclient.data.l[0]),
                          static_cast<WPARAM>(event.xclient.data.l[1]),
                          static_cast<LPARAM>(event.xclient.data.l[2]));
        break;
    default:
        break;
    }
}

} // namespace x11
