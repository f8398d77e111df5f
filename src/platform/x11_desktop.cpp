// A wallpaper's window on the desktop's bottom layer, and which of its
// monitors anyone can see. The server says when another window covers it
// whole; what the windows stacked over it show says which monitors they
// cover; under a compositing manager, which has the server report every
// window as seen, the focused window being full-screen over a monitor, which
// the window manager tells on the root window and on that window, is a sign
// of its own. A window covers only what its shape shows.
#include <X11/extensions/shape.h>

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "platform/x11_desktop.h"
#include "platform/x11_internal.h"
#include "platform/x11_stacking.h"

namespace
{

const char* const desktop_class = "OrbdriftDesktopWindow";

Window desktop = 0;            // ours, once made
bool fully_covered = false;    // as the server last said of it
Window active = None;          // the focused window, as the window manager names it
Region active_shows = nullptr; // what it shows where it is full-screen and not minimised
// What the windows stacked over ours show, judged again once the stacking or
// a window's place has changed since, and the monitors, once the screen has.
Region stacked_over = nullptr;
bool stacking_changed = true;
std::vector<RECT> monitors;
bool screen_changed = true;

void set_atoms(Display* d, Window id, const char* property,
               std::initializer_list<const char*> names)
{
    std::vector<Atom> atoms;
    for (const char* name : names)
        atoms.push_back(x11::atom(name));
    XChangeProperty(d, id, x11::atom(property), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(atoms.data()),
                    static_cast<int>(atoms.size()));
}

// What the window manager reads as it maps the window.
void make_it_the_desktop(Display* d, Window id)
{
    set_atoms(d, id, "_NET_WM_WINDOW_TYPE", {"_NET_WM_WINDOW_TYPE_DESKTOP"});
    set_atoms(d, id, "_NET_WM_STATE",
              {"_NET_WM_STATE_BELOW", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"});
    const long every_workspace = 0xFFFFFFFF;
    XChangeProperty(d, id, x11::atom("_NET_WM_DESKTOP"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&every_workspace), 1);
    XWMHints hints{};
    hints.flags = InputHint;
    hints.input = False;
    XSetWMHints(d, id, &hints);
    char name[] = "orbdrift";
    XClassHint class_hint{name, name};
    XSetClassHint(d, id, &class_hint);
    // Clicks on the desktop are the window manager's (its menus, its icons).
    XShapeCombineRectangles(d, id, ShapeInput, 0, 0, nullptr, 0, ShapeSet, Unsorted);
}

// On the screen, what a full-screen window that is not minimised shows; empty
// for any other.
Region full_screen_shown(Window window)
{
    Region shown = nullptr;
    XRectangle box{};
    const bool answered = x11::accepted([&](Display* d) {
        shown =
            x11::full_screen_box(d, window, box) ? x11::shown_by(d, window, box) : XCreateRegion();
    });
    if (answered)
        return shown;
    XDestroyRegion(shown);
    return XCreateRegion();
}

bool contains(Region outer, const RECT& inner)
{
    return XRectInRegion(outer, static_cast<int>(inner.left), static_cast<int>(inner.top),
                         static_cast<unsigned>(inner.right - inner.left),
                         static_cast<unsigned>(inner.bottom - inner.top)) == RectangleIn;
}

void replace(Region& kept, Region now)
{
    if (kept)
        XDestroyRegion(kept);
    kept = now;
}

void judge_stacking()
{
    stacking_changed = false;
    x11::accepted(
        [](Display* d) { replace(stacked_over, x11::shown_over(d, x11::top_level(d, desktop))); });
}

// The focused window's state and size are followed for as long as it is
// focused; it is listened to before it is looked at, so no change between
// the two is missed.
void follow_active_window()
{
    Display* d = x11::display();
    Window now = None;
    x11::accepted([&](Display*) { now = x11::active_window(d); });
    if (now != active) {
        // The root is listened to for more than this (and a window manager
        // may name it when nothing has the focus): never replaced here.
        const auto listen = [d](Window id, long events) {
            if (id != None && id != DefaultRootWindow(d) && !x11::own_window(id))
                x11::accepted([&](Display*) { XSelectInput(d, id, events); });
        };
        listen(active, NoEventMask);
        active = now;
        listen(active, PropertyChangeMask | StructureNotifyMask);
        if (active != None)
            x11::accepted([&](Display*) { x11::watch_shape(d, active); });
    }
    replace(active_shows, active != None ? full_screen_shown(active) : XCreateRegion());
}

} // namespace

HWND make_desktop_window()
{
    Display* d = x11::display();
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = DefWindowProcA;
    window_class.lpszClassName = desktop_class;
    if (!d || !RegisterClassA(&window_class))
        return nullptr;
    const HWND window =
        CreateWindowExA(0, desktop_class, "orbdrift", 0, 0, 0, DisplayWidth(d, DefaultScreen(d)),
                        DisplayHeight(d, DefaultScreen(d)), nullptr, nullptr, nullptr, nullptr);
    if (!window)
        return nullptr;
    const Window id = x11::xid(window);
    x11::own_window(id)->full_screen = true; // and the screen's size when it changes
    make_it_the_desktop(d, id);
    x11::add_events(d, id, VisibilityChangeMask);
    x11::add_events(d, DefaultRootWindow(d), PropertyChangeMask | StructureNotifyMask);
    XMapWindow(d, id);
    XLowerWindow(d, id); // where no window manager puts it there
    x11::keep_stacking(d);
    desktop = id;
    follow_active_window();
    return window;
}

namespace x11
{

void follow_desktop(const XEvent& event)
{
    if (!desktop)
        return;
    stacking_changed = follow_stacking(display(), event) || stacking_changed;
    screen_changed = screen_changed || (event.type == ConfigureNotify &&
                                        event.xconfigure.window == DefaultRootWindow(display()));
    switch (event.type) {
    case VisibilityNotify:
        if (event.xvisibility.window == desktop)
            fully_covered = event.xvisibility.state == VisibilityFullyObscured;
        break;
    case PropertyNotify:
        if ((event.xproperty.window == DefaultRootWindow(display()) &&
             event.xproperty.atom == atom("_NET_ACTIVE_WINDOW")) ||
            (event.xproperty.window == active && event.xproperty.atom == atom("_NET_WM_STATE")))
            follow_active_window();
        break;
    case ConfigureNotify:
        if (event.xconfigure.window == active)
            follow_active_window();
        break;
    case DestroyNotify:
        // A window manager that dies leaves the root still naming the
        // focused window it had, which then covers nothing.
        if (event.xdestroywindow.window == active)
            follow_active_window();
        break;
    default:
        if (is_shape_change(event, active))
            follow_active_window();
        break;
    }
}

bool desktop_area_unseen(Window window, const RECT& area)
{
    const OwnWindow* own = own_window(window);
    if (!desktop || !own || (own->id != desktop && own->parent != desktop))
        return false;
    if (fully_covered || contains(active_shows, area))
        return true;
    if (stacking_changed)
        judge_stacking();
    return contains(stacked_over, area);
}

bool desktop_hidden()
{
    if (!desktop)
        return false;
    if (screen_changed) {
        monitors = find_monitors(display());
        screen_changed = false;
    }
    return std::all_of(monitors.begin(), monitors.end(),
                       [](const RECT& monitor) { return desktop_area_unseen(desktop, monitor); });
}

} // namespace x11
