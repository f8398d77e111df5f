#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/posix_end_requests.h"
#include "platform/x11_internal.h"

namespace
{

struct WindowClass {
    std::string name;
    WNDPROC procedure;
};

std::vector<WindowClass> classes;
std::vector<x11::OwnWindow> windows;

// Where another process finds a window's class, beside its title in WM_NAME.
const char* const class_property = "_ORBDRIFT_WINDOW_CLASS";

const WindowClass* find_class(const char* name)
{
    for (const WindowClass& c : classes)
        if (name && c.name == name)
            return &c;
    return nullptr;
}

std::string text_property(Display* d, Window id, Atom property)
{
    std::string text;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, id, property, 0, 256, False, AnyPropertyType, &type, &format, &count,
                           &remaining, &data) == Success &&
        data) {
        if (format == 8)
            text.assign(reinterpret_cast<const char*>(data), count);
        XFree(data);
    }
    return text;
}

void set_text_property(Display* d, Window id, Atom property, const char* text)
{
    XChangeProperty(d, id, property, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text),
                    static_cast<int>(std::strlen(text)));
}

bool matches(Display* d, Window id, const char* class_name, const char* title)
{
    if (class_name && text_property(d, id, x11::atom(class_property)) != class_name)
        return false;
    return !title || text_property(d, id, XA_WM_NAME) == title;
}

// A context menu is placed in screen coordinates; a click comes in the
// window's own.
LPARAM screen_position(HWND window, LPARAM client)
{
    Display* d = x11::display();
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(d, x11::xid(window), DefaultRootWindow(d),
                          static_cast<short>(LOWORD(client)), static_cast<short>(HIWORD(client)),
                          &x, &y, &child);
    return MAKELPARAM(x, y);
}

// A child is made on its parent's screen, with that screen's visual,
// colormap and black; a host may live on any screen of the display.
int screen_of(Display* d, Window parent)
{
    XWindowAttributes attributes{};
    if (x11::accepted([&](Display* dd) { XGetWindowAttributes(dd, parent, &attributes); }) &&
        attributes.screen)
        return XScreenNumberOfScreen(attributes.screen);
    return DefaultScreen(d);
}

// A full-screen saver takes the keyboard and pointer, as no window manager
// will give an override-redirect window the focus.
void take_input(Display* d, Window id)
{
    XSetInputFocus(d, id, RevertToParent, CurrentTime);
    XGrabKeyboard(d, id, True, GrabModeAsync, GrabModeAsync, CurrentTime);
    XGrabPointer(d, id, True, x11::pointer_events, GrabModeAsync, GrabModeAsync, None, None,
                 CurrentTime);
}

} // namespace

// Mesa's software renderer asks a window's size with XGetGeometry before it
// draws, and when a host has just destroyed the window it goes on with
// whatever its variables held: a buffer of a garbage size, cleared for
// minutes or written past its end. The program exports this definition
// ahead of Xlib's, so that a window that is gone measures 0 x 0. It lives
// with the windows because nothing here calls it by name: in a file of its
// own the linker would leave it out of the program.
extern "C" Status XGetGeometry(Display* d, Drawable drawable, Window* root, int* x, int* y,
                               unsigned* width, unsigned* height, unsigned* border, unsigned* depth)
{
    using Query = Status (*)(Display*, Drawable, Window*, int*, int*, unsigned*, unsigned*,
                             unsigned*, unsigned*);
    static const auto query = reinterpret_cast<Query>(dlsym(RTLD_NEXT, "XGetGeometry"));
    *root = 0;
    *x = *y = 0;
    *width = *height = *border = *depth = 0;
    return query(d, drawable, root, x, y, width, height, border, depth);
}

namespace x11
{

OwnWindow* own_window(Window id)
{
    for (OwnWindow& w : windows)
        if (w.id == id)
            return &w;
    return nullptr;
}

bool end_window(Window id)
{
    const OwnWindow* own = own_window(id);
    if (!own)
        return false;
    own->procedure(hwnd(id), WM_DESTROY, 0, 0);
    forget_messages(hwnd(id));
    windows.erase(std::remove_if(windows.begin(), windows.end(),
                                 [id](const OwnWindow& w) { return w.id == id; }),
                  windows.end());
    return true;
}

// A child of ours fills its parent and keeps filling it: a preview's or a
// display mode's host may change size, and on Windows the child never learns
// of it. Our own windows are told of a new size with WM_SIZE, as on Windows.
void handle_configure(const XConfigureEvent& event)
{
    for (const OwnWindow& w : windows)
        if (w.parent != 0 && w.parent == event.window)
            XResizeWindow(event.display, w.id, static_cast<unsigned>(std::max(event.width, 1)),
                          static_cast<unsigned>(std::max(event.height, 1)));
    OwnWindow* own = own_window(event.window);
    if (!own || (own->width == event.width && own->height == event.height))
        return;
    own->width = event.width;
    own->height = event.height;
    own->procedure(hwnd(own->id), WM_SIZE, SIZE_RESTORED, MAKELPARAM(event.width, event.height));
}

void follow_screen_change(Display* d)
{
    const int screen = DefaultScreen(d);
    const int width = std::max(DisplayWidth(d, screen), 1);
    const int height = std::max(DisplayHeight(d, screen), 1);
    // Every window is told, children of ours too (Windows tells only those at
    // the top): a wallpaper draws in a child of its desktop window.
    for (const OwnWindow& w : windows) {
        if (w.full_screen)
            XResizeWindow(d, w.id, static_cast<unsigned>(width), static_cast<unsigned>(height));
        queue_message(hwnd(w.id), WM_DISPLAYCHANGE, static_cast<WPARAM>(DefaultDepth(d, screen)),
                      MAKELPARAM(width, height));
    }
}

bool is_close_request(const XClientMessageEvent& event)
{
    return event.message_type == atom("WM_PROTOCOLS") && event.format == 32 &&
           static_cast<Atom>(event.data.l[0]) == atom("WM_DELETE_WINDOW");
}

bool destroy_own_windows()
{
    std::vector<Window> ids;
    for (const OwnWindow& w : windows)
        ids.push_back(w.id);
    for (auto it = ids.rbegin(); it != ids.rend(); ++it)
        DestroyWindow(hwnd(*it));
    return !ids.empty();
}

bool window_exists(Window id)
{
    if (id == 0 || id > largest_window_id || !display())
        return false;
    XWindowAttributes attributes;
    return accepted([&](Display* d) { XGetWindowAttributes(d, id, &attributes); });
}

} // namespace x11

ATOM RegisterClassA(const WNDCLASSA* window_class)
{
    if (!window_class || !window_class->lpszClassName || !window_class->lpfnWndProc)
        return 0;
    if (find_class(window_class->lpszClassName))
        return 0; // as on Windows: a class name is registered once
    classes.push_back({window_class->lpszClassName, window_class->lpfnWndProc});
    return static_cast<ATOM>(0xC000 + classes.size());
}

HWND CreateWindowExA(DWORD, LPCSTR class_name, LPCSTR title, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU, HINSTANCE, LPVOID)
{
    Display* d = x11::display();
    const WindowClass* window_class = find_class(class_name);
    if (!d || !window_class)
        return nullptr;
    const int screen = parent ? screen_of(d, x11::xid(parent)) : DefaultScreen(d);
    const Window root = RootWindow(d, screen);
    const Window parent_id = parent ? x11::xid(parent) : root;
    XVisualInfo* visual = x11::gl_visual(screen);
    XSetWindowAttributes attributes{};
    unsigned long mask = CWBackPixel | CWBorderPixel | CWEventMask | CWOverrideRedirect;
    attributes.background_pixel = BlackPixel(d, screen);
    attributes.event_mask =
        KeyPressMask | x11::pointer_events | FocusChangeMask | ExposureMask | StructureNotifyMask;
    const bool full_screen = !parent && (style & WS_POPUP);
    attributes.override_redirect = full_screen ? True : False;
    if (visual) {
        attributes.colormap = XCreateColormap(d, root, visual->visual, AllocNone);
        mask |= CWColormap;
    }
    // A host may destroy the parent at any moment, even between a check and
    // the creation; a window the server refused would never be drawn in, nor
    // end. The creation itself is the check.
    Window id = 0;
    if (!x11::accepted([&](Display* dd) {
            id = XCreateWindow(dd, parent_id, x, y, static_cast<unsigned>(std::max(width, 1)),
                               static_cast<unsigned>(std::max(height, 1)), 0,
                               visual ? visual->depth : CopyFromParent, InputOutput,
                               visual ? visual->visual : CopyFromParent, mask, &attributes);
        })) {
        if (visual)
            XFreeColormap(d, attributes.colormap);
        return nullptr;
    }
    XStoreName(d, id, title ? title : "");
    set_text_property(d, id, x11::atom(class_property), class_name);
    if (!parent && !full_screen) { // a window manager's close button asks, as on Windows
        Atom close_request = x11::atom("WM_DELETE_WINDOW");
        XSetWMProtocols(d, id, &close_request, 1);
    }
    if (parent && !x11::own_window(parent_id)) // to follow its size
        x11::accepted([&](Display* dd) { x11::add_events(dd, parent_id, StructureNotifyMask); });

    // The class list may grow while WM_CREATE runs, so keep no pointer into it.
    const WNDPROC procedure = window_class->procedure;
    windows.push_back(
        {id, parent ? parent_id : 0, procedure, visual, false, width, height, full_screen});
    x11::watch_screen_changes(d);
    // From the first window on, SIGTERM, SIGINT and SIGHUP destroy our
    // windows, so that the loop ends with 0 after the context is released.
    watch_end_requests();
    const HWND handle = x11::hwnd(id);
    if (procedure(handle, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (style & WS_VISIBLE) {
        XMapRaised(d, id);
        XSync(d, False);
        if (full_screen)
            take_input(d, id);
        procedure(handle, WM_SHOWWINDOW, TRUE, 0);
    }
    return handle;
}

BOOL DestroyWindow(HWND window)
{
    if (!x11::end_window(x11::xid(window)))
        return FALSE;
    x11::accepted([&](Display* d) { XDestroyWindow(d, x11::xid(window)); });
    return TRUE;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM lparam)
{
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_RBUTTONUP: // as on Windows, a right click asks for a context menu
        return SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window),
                            screen_position(window, lparam));
    default:
        return 0;
    }
}

BOOL GetClientRect(HWND window, RECT* rect)
{
    XWindowAttributes attributes{};
    if (!rect || !x11::display() ||
        !x11::accepted([&](Display* d) { XGetWindowAttributes(d, x11::xid(window), &attributes); }))
        return FALSE;
    *rect = {0, 0, attributes.width, attributes.height};
    return TRUE;
}

HWND GetParent(HWND window)
{
    const x11::OwnWindow* own = x11::own_window(x11::xid(window));
    return own && own->parent ? x11::hwnd(own->parent) : nullptr;
}

BOOL IsWindow(HWND window)
{
    return x11::window_exists(x11::xid(window)) ? TRUE : FALSE;
}

HWND FindWindowA(LPCSTR class_name, LPCSTR title)
{
    Display* d = x11::display();
    if (!d)
        return nullptr;
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    HWND found = nullptr;
    if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) {
        for (unsigned i = count; i-- > 0 && !found;) // topmost first
            if (matches(d, children[i], class_name, title))
                found = x11::hwnd(children[i]);
        XFree(children);
    }
    return found;
}

BOOL SetForegroundWindow(HWND window)
{
    if (!x11::window_exists(x11::xid(window)))
        return FALSE;
    x11::accepted([&](Display* d) {
        XRaiseWindow(d, x11::xid(window));
        XSetInputFocus(d, x11::xid(window), RevertToParent, CurrentTime);
    });
    return TRUE;
}

HWND GetDesktopWindow()
{
    Display* d = x11::display();
    return d ? x11::hwnd(DefaultRootWindow(d)) : nullptr;
}

HWND GetForegroundWindow()
{
    Display* d = x11::display();
    if (!d)
        return nullptr;
    Window focus = None;
    int revert = 0;
    XGetInputFocus(d, &focus, &revert);
    return focus == None || focus == PointerRoot ? nullptr : x11::hwnd(focus);
}

HCURSOR SetCursor(HCURSOR cursor)
{
    static HCURSOR current = nullptr;
    const HCURSOR previous = current;
    current = cursor;
    Display* d = x11::display();
    if (!d)
        return previous;
    for (const x11::OwnWindow& w : windows) {
        if (cursor)
            XUndefineCursor(d, w.id);
        else
            XDefineCursor(d, w.id, x11::blank_cursor());
    }
    if (!cursor) // a pointer grab shows its own cursor
        XChangeActivePointerGrab(d, x11::pointer_events, x11::blank_cursor(), CurrentTime);
    XFlush(d);
    return previous;
}

BOOL GetCursorPos(POINT* point)
{
    Display* d = x11::display();
    if (!point || !d)
        return FALSE;
    Window root = 0;
    Window child = 0;
    int root_x = 0;
    int root_y = 0;
    int x = 0;
    int y = 0;
    unsigned buttons = 0;
    XQueryPointer(d, DefaultRootWindow(d), &root, &child, &root_x, &root_y, &x, &y, &buttons);
    *point = {root_x, root_y};
    return TRUE;
}

BOOL ClientToScreen(HWND window, POINT* point)
{
    Display* d = x11::display();
    Window child = 0;
    int x = 0;
    int y = 0;
    if (!d || !point ||
        !x11::accepted([&](Display* dd) {
            XTranslateCoordinates(dd, x11::xid(window), DefaultRootWindow(dd), point->x, point->y,
                                  &x, &y, &child);
        }))
        return FALSE;
    *point = {x, y};
    return TRUE;
}

HICON LoadIconA(HINSTANCE, LPCSTR)
{
    return nullptr;
} // X windows carry no class icon

// A device context is the window's own id; the screen's is the root window.
HDC GetDC(HWND window)
{
    Display* d = x11::display();
    if (!d)
        return nullptr;
    const Window id = window ? x11::xid(window) : DefaultRootWindow(d);
    return reinterpret_cast<HDC>(static_cast<std::uintptr_t>(id));
}

int ReleaseDC(HWND, HDC)
{
    return 1;
}

int GetClipBox(HDC dc, RECT* rect)
{
    return GetClientRect(reinterpret_cast<HWND>(dc), rect) ? SIMPLEREGION : ERROR;
}

// Only a wallpaper's parts can be out of sight while the rest is seen.
BOOL RectVisible(HDC dc, const RECT* rect)
{
    return rect && !x11::desktop_area_unseen(x11::xid(reinterpret_cast<HWND>(dc)), *rect);
}

HGDIOBJ GetStockObject(int)
{
    static int stock_object;
    return &stock_object; // never drawn with: windows are cleared to black
}
