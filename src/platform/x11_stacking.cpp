// The root's children as a person sees them, kept from the events of the
// root's substructure and of the children's shapes. A window is asked about
// when it comes and its shape again when that changes; a move, a resize, a
// restacking, a map or an unmap is all in its event. Asking the server about
// every window at every change would be thousands of round trips a frame
// under a session of thousands of windows with one being dragged.
#include <X11/extensions/shape.h>

#include <algorithm>
#include <vector>

#include "platform/x11_stacking.h"

namespace
{

struct TopWindow {
    Window id = 0;
    XRectangle box{}; // on the screen, its border included
    int border = 0;
    bool mapped = false;
    bool opaque = false;            // drawn in (not input only) and without alpha
    bool override_redirect = false; // menus and the like, there for a moment
    bool shaped = false;
    std::vector<XRectangle> shape; // where shaped: its bounding shape, from its origin
};

std::vector<TopWindow> stack; // from the bottom up
bool stack_known = false;     // false: read afresh when next asked
int shape_events = -1;        // the SHAPE extension's first event; -1 without it

XRectangle box_of(int x, int y, int width, int height, int border)
{
    return {static_cast<short>(x), static_cast<short>(y),
            static_cast<unsigned short>(width + 2 * border),
            static_cast<unsigned short>(height + 2 * border)};
}

std::vector<TopWindow>::iterator find(Window id)
{
    return std::find_if(stack.begin(), stack.end(),
                        [id](const TopWindow& w) { return w.id == id; });
}

// One window's bounding shape; false when it is gone.
bool read_shape(Display* d, TopWindow& window)
{
    window.shaped = false;
    window.shape.clear();
    if (shape_events < 0)
        return true;
    Bool bounding_shaped = False;
    Bool clip_shaped = False;
    int ignored = 0;
    unsigned unsigned_ignored = 0;
    if (!XShapeQueryExtents(d, window.id, &bounding_shaped, &ignored, &ignored, &unsigned_ignored,
                            &unsigned_ignored, &clip_shaped, &ignored, &ignored, &unsigned_ignored,
                            &unsigned_ignored))
        return false;
    if (!bounding_shaped)
        return true;
    int count = 0;
    int ordering = 0;
    XRectangle* rectangles = XShapeGetRectangles(d, window.id, ShapeBounding, &count, &ordering);
    window.shaped = true;
    window.shape.assign(rectangles, rectangles + count);
    if (rectangles)
        XFree(rectangles);
    return true;
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

// A new child of the root, on top of the others. One gone already is kept
// as showing nothing until the news of its end, so that the news between
// still find it.
void add_on_top(Display* d, Window id)
{
    if (find(id) != stack.end())
        return;              // the first reading already had it
    x11::watch_shape(d, id); // before it is read, so that no change is missed
    TopWindow window;
    window.id = id;
    XWindowAttributes a{};
    if (XGetWindowAttributes(d, id, &a) && read_shape(d, window)) {
        window.box = box_of(a.x, a.y, a.width, a.height, a.border_width);
        window.border = a.border_width;
        window.mapped = a.map_state != IsUnmapped;
        window.opaque = a.c_class == InputOutput && a.depth != 32;
        window.override_redirect = a.override_redirect;
    }
    stack.push_back(window);
}

void read_stack(Display* d)
{
    stack.clear();
    stack_known = true;
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count))
        return;
    for (unsigned i = 0; i < count; ++i)
        add_on_top(d, children[i]);
    if (children)
        XFree(children);
}

// Directly over sibling, or at the bottom for None.
void restack(Window id, Window sibling)
{
    auto window = find(id);
    const TopWindow moved = *window;
    stack.erase(window);
    auto below = find(sibling);
    if (sibling != None && below == stack.end()) {
        stack_known = false; // a sibling never heard of: read them all again
        return;
    }
    stack.insert(sibling == None ? stack.begin() : below + 1, moved);
}

void follow_configure(const XConfigureEvent& event)
{
    const auto window = find(event.window);
    window->box = box_of(event.x, event.y, event.width, event.height, event.border_width);
    window->border = event.border_width;
    window->override_redirect = event.override_redirect;
    restack(event.window, event.above);
}

void follow_circulate(const XCirculateEvent& event)
{
    const auto window = find(event.window);
    const TopWindow moved = *window;
    stack.erase(window);
    stack.insert(event.place == PlaceOnTop ? stack.end() : stack.begin(), moved);
}

// The window an event of the root's substructure is about, or 0 for any
// other event.
Window child_of_root(const XEvent& event, Window root)
{
    switch (event.type) {
    case ConfigureNotify:
        return event.xconfigure.event == root ? event.xconfigure.window : 0;
    case MapNotify:
        return event.xmap.event == root ? event.xmap.window : 0;
    case UnmapNotify:
        return event.xunmap.event == root ? event.xunmap.window : 0;
    case CirculateNotify:
        return event.xcirculate.event == root ? event.xcirculate.window : 0;
    case GravityNotify:
        return event.xgravity.event == root ? event.xgravity.window : 0;
    default:
        return 0;
    }
}

// A window that comes, goes or changes its shape; false for any other event.
bool follow_membership(Display* d, const XEvent& event, Window root)
{
    if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
        add_on_top(d, event.xcreatewindow.window);
    } else if (event.type == DestroyNotify && event.xdestroywindow.event == root) {
        if (const auto gone = find(event.xdestroywindow.window); gone != stack.end())
            stack.erase(gone);
    } else if (event.type == ReparentNotify && event.xreparent.event == root) {
        if (event.xreparent.parent == root)
            add_on_top(d, event.xreparent.window);
        else if (const auto gone = find(event.xreparent.window); gone != stack.end())
            stack.erase(gone);
    } else if (event.type == shape_events + ShapeNotify) {
        const auto& news = reinterpret_cast<const XShapeEvent&>(event);
        const auto window = find(news.window);
        if (news.kind != ShapeBounding || window == stack.end())
            return false;
        read_shape(d, *window);
    } else {
        return false;
    }
    return true;
}

// What one window shows of its box through its bounding shape.
void add_shown(const TopWindow& window, Region area)
{
    XRectangle box = window.box;
    if (!window.shaped) {
        XUnionRectWithRegion(&box, area, area);
        return;
    }
    Region shown = XCreateRegion();
    for (XRectangle part : window.shape) {
        part.x = static_cast<short>(part.x + box.x + window.border);
        part.y = static_cast<short>(part.y + box.y + window.border);
        XUnionRectWithRegion(&part, shown, shown);
    }
    Region whole = XCreateRegion();
    XUnionRectWithRegion(&box, whole, whole);
    XIntersectRegion(shown, whole, shown);
    XUnionRegion(shown, area, area);
    XDestroyRegion(whole);
    XDestroyRegion(shown);
}

// The union of areas from first to last, in halves: one by one, each union
// would cost as much as all that came before.
Region union_of(const std::vector<Region>& areas, std::size_t first, std::size_t last)
{
    if (last - first == 1)
        return areas[first];
    const std::size_t middle = first + (last - first) / 2;
    Region low = union_of(areas, first, middle);
    Region high = union_of(areas, middle, last);
    XUnionRegion(low, high, low);
    XDestroyRegion(high);
    return low;
}

} // namespace

namespace x11
{

void keep_stacking(Display* d)
{
    int error_base = 0;
    if (XShapeQueryExtension(d, &shape_events, &error_base) == False)
        shape_events = -1;
    // Added to what others of the process asked of the root on this connection.
    XWindowAttributes root{};
    if (XGetWindowAttributes(d, DefaultRootWindow(d), &root))
        XSelectInput(d, DefaultRootWindow(d), root.your_event_mask | SubstructureNotifyMask);
    read_stack(d);
}

bool follow_stacking(Display* d, const XEvent& event)
{
    if (!stack_known || !d || event.xany.send_event)
        return false;
    const Window root = DefaultRootWindow(d);
    if (follow_membership(d, event, root))
        return true;
    const Window id = child_of_root(event, root);
    if (!id || id == root) // the root's own news are not the stacking's
        return false;
    const auto window = find(id);
    if (window == stack.end()) {
        stack_known = false; // a window never heard of: read them all again
        return true;
    }
    switch (event.type) {
    case ConfigureNotify:
        follow_configure(event.xconfigure);
        break;
    case MapNotify:
        window->mapped = true;
        window->override_redirect = event.xmap.override_redirect;
        break;
    case UnmapNotify:
        window->mapped = false;
        break;
    case CirculateNotify:
        follow_circulate(event.xcirculate);
        break;
    case GravityNotify:
        window->box.x = static_cast<short>(event.xgravity.x);
        window->box.y = static_cast<short>(event.xgravity.y);
        break;
    }
    return true;
}

void watch_shape(Display* d, Window id)
{
    if (shape_events >= 0)
        XShapeSelectInput(d, id, ShapeNotifyMask);
}

bool is_shape_change(const XEvent& event, Window id)
{
    return shape_events >= 0 && event.type == shape_events + ShapeNotify &&
           reinterpret_cast<const XShapeEvent&>(event).window == id;
}

Region shown_by(Display* d, Window id, const XRectangle& box)
{
    TopWindow window;
    window.id = id;
    window.box = box;
    Region shown = XCreateRegion();
    if (read_shape(d, window))
        add_shown(window, shown);
    return shown;
}

Region shown_over(Display* d, Window child)
{
    if (!stack_known)
        read_stack(d);
    std::vector<Region> shown;
    auto over = find(child);
    for (over = over == stack.end() ? over : over + 1; over != stack.end(); ++over) {
        if (!over->mapped || !over->opaque || over->override_redirect)
            continue;
        shown.push_back(XCreateRegion());
        add_shown(*over, shown.back());
    }
    return shown.empty() ? XCreateRegion() : union_of(shown, 0, shown.size());
}

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

bool full_screen_box(Display* d, Window window, XRectangle& box)
{
    const std::vector<long> state = property_items(d, window, "_NET_WM_STATE");
    if (!holds(d, state, "_NET_WM_STATE_FULLSCREEN") || holds(d, state, "_NET_WM_STATE_HIDDEN"))
        return false;
    XWindowAttributes attributes{};
    int x = 0;
    int y = 0;
    Window child = 0;
    if (!XGetWindowAttributes(d, window, &attributes) ||
        !XTranslateCoordinates(d, window, DefaultRootWindow(d), 0, 0, &x, &y, &child))
        return false;
    box = box_of(x, y, attributes.width, attributes.height, 0);
    return true;
}

Window active_window(Display* d)
{
    const std::vector<long> named = property_items(d, DefaultRootWindow(d), "_NET_ACTIVE_WINDOW");
    return named.empty() ? None : static_cast<Window>(named[0]);
}

} // namespace x11
