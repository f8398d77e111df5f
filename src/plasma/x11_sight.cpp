#include "plasma/x11_sight.h"

#include <QGuiApplication>
#include <QWindow>
#include <X11/Xlib.h>

#include "platform/x11_monitor_power.h"
#include "platform/x11_stacking.h"

namespace
{

Display* as_display(void* display)
{
    return static_cast<Display*>(display);
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

// Whether what the windows stacked over ours show covers it whole; false
// while it is not on the screen.
bool hidden_under_others(Display* d, Window watched)
{
    const Window ours = x11::top_level(d, watched);
    XWindowAttributes a{};
    if (!XGetWindowAttributes(d, ours, &a) || a.map_state != IsViewable)
        return false;
    Region over = x11::shown_over(d, ours);
    const bool hidden = XRectInRegion(over, a.x, a.y, a.width + 2 * a.border_width,
                                      a.height + 2 * a.border_width) == RectangleIn;
    XDestroyRegion(over);
    return hidden;
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
    XSelectInput(d, DefaultRootWindow(d), PropertyChangeMask);
    x11::keep_stacking(d);
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
        const ErrorsPassedOver quiet(d); // following the stacking asks of new windows
        while (XPending(d)) {
            XEvent event;
            XNextEvent(d, &event);
            const bool of_root = event.xany.window == DefaultRootWindow(d);
            if (x11::follow_stacking(d, event)) // one mapped, moved, restacked, reshaped or gone
                stacking = true;
            else if (event.type == PropertyNotify)
                focus = focus || !of_root || event.xproperty.atom == active_name;
            else if (event.type == ConfigureNotify && !of_root) // the focused window's
                focus = true;
        }
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
    for (auto watched = covered.begin(); watched != covered.end(); ++watched)
        watched.value() = hidden_under_others(d, watched.key());
}

// The focused window's state and place are followed for as long as it is
// focused; it is listened to before it is looked at, so that no change
// between the two is missed.
void X11Sight::follow_active_window()
{
    Display* d = as_display(display);
    const Window now = x11::active_window(d);
    const auto ours = [this](Window id) { return id == None || covered.contains(id); };
    if (now != active) {
        if (!ours(active) && active != DefaultRootWindow(d))
            XSelectInput(d, active, NoEventMask);
        active = now;
        if (!ours(active) && active != DefaultRootWindow(d))
            XSelectInput(d, active, PropertyChangeMask | StructureNotifyMask);
    }
    XRectangle box{};
    active_area = active != None && x11::full_screen_box(d, active, box)
                      ? QRect(box.x, box.y, box.width, box.height)
                      : QRect();
    XFlush(d);
}

void X11Sight::look_at_monitors()
{
    const bool off = monitor_powered_down(as_display(display));
    if (off != monitors_off) {
        monitors_off = off;
        emit changed();
    }
    // Events that came in with the answer are in Xlib's queue, past the
    // socket's notice.
    read_events();
}
