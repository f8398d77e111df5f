// Modal dialogs from the program's dialog table, drawn with Xlib: labels,
// drop-down lists, check boxes and push buttons, worked with the mouse or
// from the keyboard alone as on Windows (Tab moves between controls, Space
// ticks a box or presses a button, the arrows step through a list, F4 drops
// it down, Enter is the default button, Escape and Alt+F4 cancel). Message
// boxes are dialogs made on the spot.
#include <X11/keysym.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/x11_dialog_template.h"
#include "platform/x11_internal.h"

namespace
{

// Dialog units to pixels for the server's default font, about 6 x 13.
int across(int units)
{
    return units * 3 / 2;
}
int down(int units)
{
    return units * 7 / 4;
}

constexpr int row_height = 18; // a closed list, or one item of an open one

struct Control {
    DialogControl place;
    std::vector<std::string> items; // a list's
    int selected = CB_ERR;          // a list's
    bool checked = false;           // a check box's
    bool focusable() const { return place.kind != DialogControl::label; }
    int left() const { return across(place.x); }
    int top() const { return down(place.y); }
    int width() const { return across(place.width); }
    int height() const
    {
        return place.kind == DialogControl::list ? row_height : down(place.height);
    }
};

struct OpenDialog {
    HWND window = nullptr;
    std::vector<Control> controls;
    int focus = -1;
    int open_list = -1;  // the control whose list is dropped down, or -1
    int highlighted = 0; // in the open list
    bool ended = false;
    INT_PTR result = 0;
};

// Dialogs open one above another: a message box over the settings.
std::vector<OpenDialog*> open_dialogs;

OpenDialog* dialog_of(HWND window)
{
    for (OpenDialog* dialog : open_dialogs)
        if (dialog->window == window)
            return dialog;
    return nullptr;
}

Control* control_of(HWND window, int id)
{
    OpenDialog* dialog = dialog_of(window);
    if (!dialog)
        return nullptr;
    for (Control& control : dialog->controls)
        if (control.place.id == id)
            return &control;
    return nullptr;
}

struct Pen {
    Display* d;
    Window id;
    GC gc;
    XFontStruct* font;
    unsigned long black;
    unsigned long white;

    void text(int x, int y, const std::string& s) const
    {
        XDrawString(d, id, gc, x, y, s.c_str(), static_cast<int>(s.size()));
    }
    int text_width(const std::string& s) const
    {
        return XTextWidth(font, s.c_str(), static_cast<int>(s.size()));
    }
    void box(int x, int y, int w, int h) const
    {
        XDrawRectangle(d, id, gc, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h));
    }
};

void draw_control(const Pen& pen, const Control& c, bool focused)
{
    const int x = c.left();
    const int y = c.top();
    const int baseline = y + c.height() / 2 + 5;
    switch (c.place.kind) {
    case DialogControl::label:
        pen.text(x, baseline, c.place.text);
        break;
    case DialogControl::list:
        pen.box(x, y, c.width(), c.height());
        if (c.selected >= 0)
            pen.text(x + 5, baseline, c.items[static_cast<std::size_t>(c.selected)]);
        pen.text(x + c.width() - 12, baseline, "v");
        break;
    case DialogControl::check:
        pen.box(x, y + 2, 12, 12);
        if (c.checked) {
            XDrawLine(pen.d, pen.id, pen.gc, x + 3, y + 5, x + 9, y + 11);
            XDrawLine(pen.d, pen.id, pen.gc, x + 9, y + 5, x + 3, y + 11);
        }
        pen.text(x + 20, baseline, c.place.text);
        break;
    case DialogControl::default_button:
        pen.box(x - 1, y - 1, c.width() + 2, c.height() + 2); // the one Enter presses
        [[fallthrough]];
    case DialogControl::button:
        pen.box(x, y, c.width(), c.height());
        pen.text(x + (c.width() - pen.text_width(c.place.text)) / 2, baseline, c.place.text);
        break;
    }
    if (focused) {
        XSetLineAttributes(pen.d, pen.gc, 1, LineOnOffDash, CapButt, JoinMiter);
        pen.box(x - 3, y - 3, c.width() + 6, c.height() + 6);
        XSetLineAttributes(pen.d, pen.gc, 1, LineSolid, CapButt, JoinMiter);
    }
}

// An open list lies over the controls below its own.
void draw_open_list(const Pen& pen, const OpenDialog& dialog)
{
    const Control& c = dialog.controls[static_cast<std::size_t>(dialog.open_list)];
    const int top = c.top() + c.height();
    const int height = row_height * static_cast<int>(c.items.size());
    XSetForeground(pen.d, pen.gc, pen.white);
    XFillRectangle(pen.d, pen.id, pen.gc, c.left(), top, static_cast<unsigned>(c.width()),
                   static_cast<unsigned>(height));
    XSetForeground(pen.d, pen.gc, pen.black);
    pen.box(c.left(), top, c.width(), height);
    for (std::size_t i = 0; i < c.items.size(); ++i) {
        const int row = top + row_height * static_cast<int>(i);
        const bool lit = static_cast<int>(i) == dialog.highlighted;
        if (lit)
            XFillRectangle(pen.d, pen.id, pen.gc, c.left(), row, static_cast<unsigned>(c.width()),
                           row_height);
        XSetForeground(pen.d, pen.gc, lit ? pen.white : pen.black);
        pen.text(c.left() + 5, row + row_height / 2 + 5, c.items[i]);
        XSetForeground(pen.d, pen.gc, pen.black);
    }
}

void draw(const Pen& pen, const OpenDialog& dialog)
{
    XClearWindow(pen.d, pen.id);
    for (std::size_t i = 0; i < dialog.controls.size(); ++i)
        draw_control(pen, dialog.controls[i], static_cast<int>(i) == dialog.focus);
    if (dialog.open_list >= 0)
        draw_open_list(pen, dialog);
}

int default_command(const OpenDialog& dialog)
{
    for (const Control& c : dialog.controls)
        if (c.place.kind == DialogControl::default_button)
            return c.place.id;
    return IDOK;
}

bool is_button(const Control& c)
{
    return c.place.kind == DialogControl::button || c.place.kind == DialogControl::default_button;
}

void move_focus(OpenDialog& dialog, int step)
{
    const int count = static_cast<int>(dialog.controls.size());
    for (int tries = 0; tries < count; ++tries) {
        dialog.focus = ((dialog.focus + step) % count + count) % count;
        if (dialog.controls[static_cast<std::size_t>(dialog.focus)].focusable())
            return;
    }
}

void step_list(Control& list, int step)
{
    const int last = static_cast<int>(list.items.size()) - 1;
    if (last >= 0)
        list.selected = std::clamp(list.selected + step, 0, last);
}

// What a control does when pressed: a command for a button, or 0.
int press(OpenDialog& dialog, int index)
{
    Control& c = dialog.controls[static_cast<std::size_t>(index)];
    dialog.focus = index;
    if (c.place.kind == DialogControl::check)
        c.checked = !c.checked;
    else if (c.place.kind == DialogControl::list && !c.items.empty()) {
        dialog.open_list = index;
        dialog.highlighted = std::max(c.selected, 0);
    }
    return is_button(c) ? c.place.id : 0;
}

// Keys while a list is dropped down: they move in it, choose or close it.
void key_in_open_list(OpenDialog& dialog, KeySym key)
{
    Control& list = dialog.controls[static_cast<std::size_t>(dialog.open_list)];
    const int last = static_cast<int>(list.items.size()) - 1;
    if (key == XK_Up || key == XK_Down)
        dialog.highlighted = std::clamp(dialog.highlighted + (key == XK_Up ? -1 : 1), 0, last);
    else if (key == XK_Return || key == XK_KP_Enter || key == XK_space) {
        list.selected = dialog.highlighted;
        dialog.open_list = -1;
    } else if (key == XK_Escape || key == XK_Tab)
        dialog.open_list = -1;
}

// The command a key stands for, or 0.
int key_command(OpenDialog& dialog, const XKeyEvent& event)
{
    const KeySym key = XLookupKeysym(const_cast<XKeyEvent*>(&event), 0);
    if (key == XK_F4 && (event.state & Mod1Mask)) // no window manager may be there to take it
        return IDCANCEL;
    if (dialog.open_list >= 0) {
        key_in_open_list(dialog, key);
        return 0;
    }
    Control* focused =
        dialog.focus >= 0 ? &dialog.controls[static_cast<std::size_t>(dialog.focus)] : nullptr;
    switch (key) {
    case XK_Tab:
    case XK_ISO_Left_Tab:
        move_focus(dialog, key == XK_ISO_Left_Tab || (event.state & ShiftMask) ? -1 : 1);
        return 0;
    case XK_Escape:
        return IDCANCEL;
    case XK_Return:
    case XK_KP_Enter:
        return focused && is_button(*focused) ? focused->place.id : default_command(dialog);
    case XK_space:
        return focused ? press(dialog, dialog.focus) : 0;
    case XK_F4: // drops a list down, and does nothing else
        if (focused && focused->place.kind == DialogControl::list)
            press(dialog, dialog.focus);
        return 0;
    case XK_Up:
    case XK_Down:
    case XK_Left:
    case XK_Right:
        if (focused && focused->place.kind == DialogControl::list)
            step_list(*focused, key == XK_Up || key == XK_Left ? -1 : 1);
        return 0;
    default:
        return 0;
    }
}

bool inside(int x, int y, int left, int top, int width, int height)
{
    return x >= left && x < left + width && y >= top && y < top + height;
}

// The command a click stands for, or 0.
int click_command(OpenDialog& dialog, int x, int y)
{
    if (dialog.open_list >= 0) { // a click chooses from the open list or closes it
        Control& list = dialog.controls[static_cast<std::size_t>(dialog.open_list)];
        const int top = list.top() + list.height();
        if (inside(x, y, list.left(), top, list.width(),
                   row_height * static_cast<int>(list.items.size())))
            list.selected = (y - top) / row_height;
        dialog.open_list = -1;
        return 0;
    }
    for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
        const Control& c = dialog.controls[i];
        if (c.focusable() && inside(x, y, c.left(), c.top(), c.width(), c.height() + 1))
            return press(dialog, static_cast<int>(i));
    }
    return 0;
}

// The middle of the monitor under the pointer, where Windows puts a dialog
// without an owner; of the first monitor when the pointer is on none.
void middle_of_pointer_monitor(Display* d, int& x, int& y)
{
    Window root = 0;
    Window child = 0;
    int pointer_x = 0;
    int pointer_y = 0;
    int in_child_x = 0;
    int in_child_y = 0;
    unsigned buttons = 0;
    XQueryPointer(d, DefaultRootWindow(d), &root, &child, &pointer_x, &pointer_y, &in_child_x,
                  &in_child_y, &buttons);
    const std::vector<RECT> monitors = x11::find_monitors(d);
    const auto under = std::find_if(monitors.begin(), monitors.end(), [&](const RECT& m) {
        return inside(pointer_x, pointer_y, m.left, m.top, m.right - m.left, m.bottom - m.top);
    });
    const RECT& area = under != monitors.end() ? *under : monitors.front();
    x = (area.left + area.right) / 2;
    y = (area.top + area.bottom) / 2;
}

// Over the middle of its owner, or of a monitor without one.
void place(Display* d, Window id, HWND owner, int width, int height)
{
    const int screen = DefaultScreen(d);
    int x = 0;
    int y = 0;
    XWindowAttributes attributes{};
    Window child = 0;
    if (owner && x11::accepted([&](Display* dd) {
            XGetWindowAttributes(dd, x11::xid(owner), &attributes);
            XTranslateCoordinates(dd, x11::xid(owner), RootWindow(dd, screen), attributes.width / 2,
                                  attributes.height / 2, &x, &y, &child);
        })) {
        XSetTransientForHint(d, id, x11::xid(owner));
    } else
        middle_of_pointer_monitor(d, x, y);
    XMoveWindow(d, id, x - width / 2, y - height / 2);
}

Window make_dialog_window(Display* d, const DialogTemplate& layout, HWND owner, Atom close_request)
{
    const int screen = DefaultScreen(d);
    const int width = across(layout.width);
    const int height = down(layout.height);
    const Window id = XCreateSimpleWindow(
        d, RootWindow(d, screen), 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
        1, BlackPixel(d, screen), WhitePixel(d, screen));
    XStoreName(d, id, layout.caption);
    XSetWMProtocols(d, id, &close_request, 1);
    place(d, id, owner, width, height);
    // Placed by us, and of one size: a window manager that resized it would
    // cut off the controls the layout puts at fixed places.
    XSizeHints size{};
    size.flags = PPosition | PMinSize | PMaxSize;
    size.min_width = size.max_width = width;
    size.min_height = size.max_height = height;
    XSetWMNormalHints(d, id, &size);
    XSelectInput(d, id, KeyPressMask | ButtonPressMask | ExposureMask | StructureNotifyMask);
    return id;
}

INT_PTR run_dialog(const DialogTemplate& layout, HWND owner, DLGPROC procedure, LPARAM init_param)
{
    Display* d = x11::display();
    if (!d || !procedure)
        return -1;
    // Losing the server is no answer, and nothing is saved: the process ends
    // as Cancel would end it.
    const int exit_code_before = x11::set_lost_connection_exit_code(0);
    Atom close_request = x11::atom("WM_DELETE_WINDOW");
    const Window id = make_dialog_window(d, layout, owner, close_request);
    OpenDialog dialog;
    dialog.window = x11::hwnd(id);
    for (int i = 0; i < layout.control_count; ++i)
        dialog.controls.push_back(Control{layout.controls[i], {}, CB_ERR, false});
    move_focus(dialog, 1);
    open_dialogs.push_back(&dialog);
    procedure(dialog.window, WM_INITDIALOG, 0, init_param);

    const int screen = DefaultScreen(d);
    GC gc = XCreateGC(d, id, 0, nullptr);
    XSetForeground(d, gc, BlackPixel(d, screen));
    XFontStruct* font = XQueryFont(d, XGContextFromGC(gc));
    const Pen pen{d, id, gc, font, BlackPixel(d, screen), WhitePixel(d, screen)};
    XMapRaised(d, id);
    while (!dialog.ended) {
        XEvent event;
        XNextEvent(d, &event);
        if (event.xany.window != id) {
            x11::handle_event(event);
            continue;
        }
        int command = 0;
        if (event.type == MapNotify) // without a window manager nobody else gives it the keys
            x11::accepted(
                [&](Display* dd) { XSetInputFocus(dd, id, RevertToParent, CurrentTime); });
        else if (event.type == KeyPress)
            command = key_command(dialog, event.xkey);
        else if (event.type == ButtonPress && event.xbutton.button == Button1)
            command = click_command(dialog, event.xbutton.x, event.xbutton.y);
        else if (event.type == ClientMessage &&
                 static_cast<Atom>(event.xclient.data.l[0]) == close_request)
            command = IDCANCEL; // closing the window cancels, as on Windows
        else if (event.type == DestroyNotify)
            command = IDCANCEL; // and so does another client that destroyed it
        else if (event.type != Expose || event.xexpose.count != 0)
            continue;
        if (command)
            procedure(dialog.window, WM_COMMAND, static_cast<WPARAM>(command), 0);
        if (event.type == DestroyNotify)
            dialog.ended = true; // with no window left, whatever its procedure made of it
        if (!dialog.ended)
            draw(pen, dialog);
    }
    open_dialogs.pop_back();
    XFreeFontInfo(nullptr, font, 1);
    XFreeGC(d, gc);
    XDestroyWindow(d, id);
    XSync(d, False);
    x11::set_lost_connection_exit_code(exit_code_before);
    return dialog.result;
}

INT_PTR CALLBACK message_box_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM)
{
    if (message == WM_COMMAND)
        EndDialog(dialog, static_cast<INT_PTR>(LOWORD(wparam)));
    return 0;
}

} // namespace

INT_PTR DialogBoxParamA(HINSTANCE, LPCSTR template_name, HWND owner, DLGPROC procedure,
                        LPARAM init_param)
{
    const DialogTemplate* layout =
        find_dialog_template(LOWORD(reinterpret_cast<ULONG_PTR>(template_name)));
    return layout ? run_dialog(*layout, owner, procedure, init_param) : -1;
}

BOOL EndDialog(HWND window, INT_PTR result)
{
    OpenDialog* dialog = dialog_of(window);
    if (!dialog)
        return FALSE;
    dialog->ended = true;
    dialog->result = result;
    return TRUE;
}

HWND GetDlgItem(HWND dialog, int id)
{
    return reinterpret_cast<HWND>(control_of(dialog, id));
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wparam, LPARAM lparam)
{
    Control* list = control_of(dialog, id);
    if (!list || list->place.kind != DialogControl::list)
        return CB_ERR;
    switch (message) {
    case CB_ADDSTRING:
        list->items.emplace_back(reinterpret_cast<LPCSTR>(lparam));
        return static_cast<LRESULT>(list->items.size() - 1);
    case CB_SETCURSEL:
        list->selected = wparam < list->items.size() ? static_cast<int>(wparam) : CB_ERR;
        return list->selected;
    case CB_GETCURSEL:
        return list->selected;
    default:
        return CB_ERR;
    }
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check)
{
    Control* box = control_of(dialog, id);
    if (!box || box->place.kind != DialogControl::check)
        return FALSE;
    box->checked = check == BST_CHECKED;
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id)
{
    const Control* box = control_of(dialog, id);
    return box && box->checked ? BST_CHECKED : BST_UNCHECKED;
}

// A line of text and OK, sized to the text.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT)
{
    const int width = std::max(100, static_cast<int>(std::strlen(text ? text : "")) * 4 + 20);
    const DialogControl controls[] = {
        {DialogControl::label, text ? text : "", -1, 10, 10, width - 20, 10},
        {DialogControl::default_button, "OK", IDOK, (width - 50) / 2, 30, 50, 14}};
    const DialogTemplate layout{0, caption ? caption : "", width, 52, controls, 2};
    return static_cast<int>(run_dialog(layout, owner, message_box_proc, 0));
}
