#include "plasma/x11_sight.h"

#include <QGuiApplication>
#include <QRegion>
#include <QWindow>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <vector>

#include "platform/x11_monitor_power.h"

namespace
{

Display* as_display(void* display)
{
    return static_cast<Display*>(display);
}

// A property of 32-bit items of a window that may be gone by the time it is
// asked; empty then.
std::vector<long> property_items(Display* d, Window id, const char* name)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::vector<long> items;
    if (XGetWindowProperty(d, id, XInternAtom(d, name, False), 0, 64, False, AnyPropertyType, &type,
                           &format, &count, &remaining, &data) == Success &&
        data && format == 32) {
        const auto* values = reinterpret_cast<const long*>(data);
        items.assign(values, values + count);
    }
    if (data)
        XFree(data);
    return items;
}

bool holds(Display* d, const std::vector<long>& atoms, const char* name)
{
    const long atom = static_cast<long>(XInternAtom(d, name, False));
    return std::find(atoms.begin(), atoms.end(), atom) != atoms.end();
}

// A window that went between two questions is no error worth a word. The
// handler is the process's, which others in it set too: ours only while we
// ask, the errors of our questions all in before the old one is back.
int pass_over(Display*, XErrorEvent*)
{
    return 0;
}

class ErrorsPassedOver
{
public:
    explicit ErrorsPassedOver(Display* d) : display(d), before(XSetErrorHandler(pass_over)) {}
    ErrorsPassedOver(const ErrorsPassedOver&) = delete;
    ErrorsPassedOver& operator=(const ErrorsPassedOver&) = delete;
    virtual ~ErrorsPassedOver()
    {
        XSync(display, False);
        XSetErrorHandler(before);
    }

private:
    Display* display;
    int (*before)(Display*, XErrorEvent*);
};

// Where a full-screen window that is not minimised is; empty for any other.
QRect full_screen_area(Display* d, Window window)
{
    const std::vector<long> state = property_items(d, window, "_NET_WM_STATE");
    if (!holds(d, state, "_NET_WM_STATE_FULLSCREEN") || holds(d, state, "_NET_WM_STATE_HIDDEN"))
        return {};
    XWindowAttributes attributes{};
    int x = 0;
    int y = 0;
    Window child = 0;
    if (!XGetWindowAttributes(d, window, &attributes) ||
        !XTranslateCoordinates(d, window, DefaultRootWindow(d), 0, 0, &x, &y, &child))
        return {};
    return {x, y, attributes.width, attributes.height};
}

// Of the root's children, the window or the frame a window manager put it in.
Window top_level(Display* d, Window id)
{
    for (;;) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(d, id, &root, &parent, &children, &count))
            return id;
        if (children)
            XFree(children);
        if (parent == root || parent == 0)
            return id;
        id = parent;
    }
}

bool viewable(Display* d, Window window, XWindowAttributes& a)
{
    return XGetWindowAttributes(d, window, &a) && a.map_state == IsViewable;
}

QRect area_of(const XWindowAttributes& a)
{
    return {a.x, a.y, a.width + 2 * a.border_width, a.height + 2 * a.border_width};
}

// Where a window hides what is under it: mapped, drawn in (not input only)
// and opaque. Menus and the like, which override the window manager, come
// and go in a moment; a window with an alpha channel may let ours show.
QRect hiding_area(Display* d, Window window)
{
    XWindowAttributes a{};
    if (!viewable(d, window, a) || a.c_class != InputOutput || a.override_redirect || a.depth == 32)
        return {};
    return area_of(a);
}

// Whether the root's children from start on (it lists them from the bottom
// up) hide all of area.
bool hidden_by(Display* d, Window* start, Window* end, const QRect& area)
{
    QRegion seen(area);
    for (Window* over = start; over != end && !seen.isEmpty(); ++over)
        seen -= hiding_area(d, *over);
    return seen.isEmpty();
}

} // namespace

X11Sight* X11Sight::instance()
{
    static X11Sight* sight = [] {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return static_cast<X11Sight*>(nullptr);
        Display* d = XOpenDisplay(nullptr);
        return d ? new X11Sight(d) : nullptr;
    }();
    return sight;
}

X11Sight::X11Sight(void* opened) : display(opened)
{
    Display* d = as_display(display);
    const ErrorsPassedOver quiet(d);
    XSelectInput(d, DefaultRootWindow(d), PropertyChangeMask | SubstructureNotifyMask);
    events = std::make_unique<QSocketNotifier>(ConnectionNumber(d), QSocketNotifier::Read);
    connect(events.get(), &QSocketNotifier::activated, this, &X11Sight::read_events);
    follow_active_window();
    connect(&monitor_watch, &QTimer::timeout, this, &X11Sight::look_at_monitors);
    monitor_watch.start(1000);
}

X11Sight::~X11Sight()
{
    XCloseDisplay(as_display(display));
}

void X11Sight::watch(QWindow* window)
{
    Display* d = as_display(display);
    const Window id = static_cast<Window>(window->winId());
    if (covered.contains(id))
        return;
    covered.insert(id, false);
    {
        const ErrorsPassedOver quiet(d);
        judge_stacking();
    }
    read_events();
}

bool X11Sight::hidden(QWindow* window) const
{
    return monitors_off || covered.value(static_cast<unsigned long>(window->winId())) ||
           active_area.contains(window->geometry());
}

// Our own questions may bring events in with their answers, past the
// socket's notice: events are read until none is queued.
void X11Sight::read_events()
{
    Display* d = as_display(display);
    const Atom active_name = XInternAtom(d, "_NET_ACTIVE_WINDOW", False);
    bool news = false;
    while (XPending(d)) {
        bool stacking = false;
        bool focus = false;
        while (XPending(d)) {
            XEvent event;
            XNextEvent(d, &event);
            const bool of_root = event.xany.window == DefaultRootWindow(d);
            if (event.type == PropertyNotify)
                focus = focus || !of_root || event.xproperty.atom == active_name;
            else if (of_root) // the root's children: one mapped, moved, restacked or gone
                stacking = true;
            else if (event.type == ConfigureNotify) // the focused window's
                focus = true;
        }
        const ErrorsPassedOver quiet(d);
        if (focus)
            follow_active_window();
        if (stacking)
            judge_stacking();
        news = news || focus || stacking;
    }
    if (news)
        emit changed();
}

void X11Sight::judge_stacking()
{
    Display* d = as_display(display);
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count))
        return;
    Window* const end = children + count;
    for (auto watched = covered.begin(); watched != covered.end(); ++watched) {
        const Window ours = top_level(d, watched.key());
        Window* const at = std::find(children, end, ours);
        XWindowAttributes a{};
        watched.value() =
            at != end && viewable(d, ours, a) && hidden_by(d, at + 1, end, area_of(a));
    }
    if (children)
        XFree(children);
}

// The focused window's state and place are followed for as long as it is
// focused; it is listened to before it is looked at, so that no change
// between the two is missed.
void X11Sight::follow_active_window()
{
    Display* d = as_display(display);
    const std::vector<long> named = property_items(d, DefaultRootWindow(d), "_NET_ACTIVE_WINDOW");
    const Window now = named.empty() ? None : static_cast<Window>(named[0]);
    const auto ours = [this](Window id) { return id == None || covered.contains(id); };
    if (now != active) {
        if (!ours(active) && active != DefaultRootWindow(d))
            XSelectInput(d, active, NoEventMask);
        active = now;
        if (!ours(active) && active != DefaultRootWindow(d))
            XSelectInput(d, active, PropertyChangeMask | StructureNotifyMask);
    }
    active_area = active != None ? full_screen_area(d, active) : QRect();
    XFlush(d);
}

void X11Sight::look_at_monitors()
{
    const bool off = monitor_powered_down(as_display(display));
    if (off == monitors_off)
        return;
    monitors_off = off;
    emit changed();
}
