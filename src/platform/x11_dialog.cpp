// The configuration dialog: the saver has no settings, so it is one line of
// text with OK and Cancel, driving the dialog procedure as Windows would.
#include <X11/keysym.h>

#include <cstring>

#include "platform/x11_internal.h"

namespace
{

constexpr int dialog_width = 300;
constexpr int dialog_height = 110;
constexpr int button_width = 80;
constexpr int button_height = 26;
constexpr int button_top = 66;
const char* const dialog_text = "orbdrift has no settings to change.";

struct Button {
    int left;
    const char* label;
    WPARAM command;
};

const Button buttons[] = {{dialog_width - 2 * (button_width + 12), "OK", IDOK},
                          {dialog_width - (button_width + 12), "Cancel", IDCANCEL}};

struct OpenDialog {
    HWND window = nullptr;
    bool ended = false;
    INT_PTR result = 0;
};

OpenDialog open_dialog;

void draw_text(Display* d, Window id, GC gc, int x, int y, const char* text)
{
    XDrawString(d, id, gc, x, y, text, static_cast<int>(std::strlen(text)));
}

void draw(Display* d, Window id, GC gc, XFontStruct* font)
{
    XClearWindow(d, id);
    draw_text(d, id, gc, 16, 32, dialog_text);
    for (const Button& b : buttons) {
        XDrawRectangle(d, id, gc, b.left, button_top, button_width, button_height);
        const int text_width = XTextWidth(font, b.label, static_cast<int>(std::strlen(b.label)));
        draw_text(d, id, gc, b.left + (button_width - text_width) / 2, button_top + 17, b.label);
    }
}

// The command an event stands for, or 0.
WPARAM command_of(const XEvent& event, Atom close_request)
{
    if (event.type == KeyPress) {
        const KeySym key = XLookupKeysym(const_cast<XKeyEvent*>(&event.xkey), 0);
        if (key == XK_Return || key == XK_KP_Enter)
            return IDOK;
        if (key == XK_Escape)
            return IDCANCEL;
    }
    if (event.type == ButtonPress && event.xbutton.button == Button1) {
        for (const Button& b : buttons)
            if (event.xbutton.x >= b.left && event.xbutton.x < b.left + button_width &&
                event.xbutton.y >= button_top && event.xbutton.y < button_top + button_height)
                return b.command;
    }
    if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == close_request)
        return IDCANCEL; // closing the window cancels, as on Windows
    return 0;
}

Window make_dialog_window(Display* d, HWND owner, Atom close_request)
{
    const int screen = DefaultScreen(d);
    const Window root = RootWindow(d, screen);
    const int x = (DisplayWidth(d, screen) - dialog_width) / 2;
    const int y = (DisplayHeight(d, screen) - dialog_height) / 2;
    const Window id = XCreateSimpleWindow(d, root, x, y, dialog_width, dialog_height, 1,
                                          BlackPixel(d, screen), WhitePixel(d, screen));
    XStoreName(d, id, "orbdrift");
    XSetWMProtocols(d, id, const_cast<Atom*>(&close_request), 1);
    if (owner && x11::window_exists(x11::xid(owner)))
        XSetTransientForHint(d, id, x11::xid(owner));
    XSelectInput(d, id, KeyPressMask | ButtonPressMask | ExposureMask | StructureNotifyMask);
    return id;
}

} // namespace

INT_PTR DialogBoxParamA(HINSTANCE, LPCSTR, HWND owner, DLGPROC procedure, LPARAM init_param)
{
    Display* d = x11::display();
    if (!d || !procedure || open_dialog.window)
        return -1;
    const Atom close_request = x11::atom("WM_DELETE_WINDOW");
    const Window id = make_dialog_window(d, owner, close_request);
    const HWND dialog = x11::hwnd(id);
    open_dialog = OpenDialog{dialog, false, 0};
    procedure(dialog, WM_INITDIALOG, 0, init_param);

    GC gc = XCreateGC(d, id, 0, nullptr);
    XSetForeground(d, gc, BlackPixel(d, DefaultScreen(d)));
    XFontStruct* font = XQueryFont(d, XGContextFromGC(gc));
    XMapRaised(d, id);
    while (!open_dialog.ended) {
        XEvent event;
        XNextEvent(d, &event);
        if (event.xany.window != id) {
            x11::handle_event(event);
            continue;
        }
        if (event.type == MapNotify) // without a window manager nobody else gives it the keys
            x11::accepted(
                [&](Display* dd) { XSetInputFocus(dd, id, RevertToParent, CurrentTime); });
        else if (event.type == Expose && event.xexpose.count == 0)
            draw(d, id, gc, font);
        else if (const WPARAM command = command_of(event, close_request))
            procedure(dialog, WM_COMMAND, command, 0);
    }
    XFreeFontInfo(nullptr, font, 1);
    XFreeGC(d, gc);
    XDestroyWindow(d, id);
    XSync(d, False);
    const INT_PTR result = open_dialog.result;
    open_dialog = OpenDialog{};
    return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result)
{
    if (!dialog || dialog != open_dialog.window)
        return FALSE;
    open_dialog.ended = true;
    open_dialog.result = result;
    return TRUE;
}
