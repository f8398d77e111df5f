#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

#include "platform/window_fixture.h"
#include "platform/x11_internal.h"

namespace
{

std::vector<UINT> dialog_messages;

INT_PTR CALLBACK ok_cancel_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM)
{
    dialog_messages.push_back(message);
    if (message == WM_COMMAND && (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wparam) == IDOK ? 1 : 0);
        return 1;
    }
    return 0;
}

// Shows the dialog while another thread answers it as a person would, after
// looking at it if asked to.
INT_PTR answer_dialog(const std::string& answer, HWND owner = nullptr,
                      const std::function<void()>& look = {})
{
    std::thread person([&] {
        xdotool("search --sync --onlyvisible --name '^orbdrift$'");
        if (look)
            look();
        xdotool(answer);
    });
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(2003),
                                           owner, ok_cancel_proc, 0);
    person.join();
    return result;
}

Window find_dialog(Display* d)
{
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count);
    for (unsigned i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        if (XFetchName(d, children[i], &name) && std::strcmp(name, "orbdrift") == 0)
            found = children[i];
        XFree(name);
    }
    XFree(children);
    return found;
}

// Whether anything but the white background shows in the rectangle.
bool inked(Display* d, Window id, int x, int y, int width, int height)
{
    XImage* image = XGetImage(d, id, x, y, width, height, AllPlanes, ZPixmap);
    bool ink = false;
    for (int row = 0; image && row < height && !ink; ++row)
        for (int column = 0; column < width && !ink; ++column)
            ink = XGetPixel(image, column, row) != WhitePixel(d, DefaultScreen(d));
    if (image)
        XDestroyImage(image);
    return ink;
}

// The drawing follows the mapping; give it a few seconds to show.
bool eventually_inked(Display* d, Window id, int x, int y, int width, int height)
{
    for (int tries = 0; tries < 500; ++tries) {
        if (inked(d, id, x, y, width, height))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

} // namespace

class DialogTest : public XServerTest
{
};

TEST_F(DialogTest, ReturnMeansOk)
{
    EXPECT_EQ(answer_dialog("key Return"), 1);
    ASSERT_FALSE(dialog_messages.empty());
    EXPECT_EQ(dialog_messages.front(), UINT(WM_INITDIALOG));
    EXPECT_EQ(dialog_messages.back(), UINT(WM_COMMAND));
}

TEST_F(DialogTest, EscapeMeansCancel)
{
    EXPECT_EQ(answer_dialog("key Escape"), 0);
}

TEST_F(DialogTest, TheCancelButtonCancels)
{
    // The dialog is centred on the 640 x 480 screen; Cancel is its right button.
    EXPECT_EQ(answer_dialog("mousemove 400 262 click 1"), 0);
    EXPECT_EQ(answer_dialog("mousemove 320 262 click 1"), 1);            // and OK the left one
    EXPECT_EQ(answer_dialog("mousemove 400 278 click 1 key Return"), 1); // just below Cancel
    EXPECT_EQ(answer_dialog("mousemove 379 262 click 1 key Return"), 0); // its leftmost column
}

TEST_F(DialogTest, ShowsItsLineAboveItsOwner)
{
    const HWND owner = make_test_window(WS_VISIBLE, 100, 100);
    ASSERT_NE(owner, nullptr);
    bool line_shown = false;
    bool margin_clear = false;
    bool labels_shown = false;
    Window transient_for = 0;
    bool offers_close = false;
    EXPECT_EQ(answer_dialog("key Return", owner,
                            [&] {
                                Display* d = XOpenDisplay(nullptr);
                                const Window dialog = find_dialog(d);
                                // The line's baseline is 32 pixels down; the
                                // buttons start at 66.
                                line_shown = eventually_inked(d, dialog, 16, 20, 200, 14);
                                margin_clear = !inked(d, dialog, 0, 40, 300, 20);
                                // Inside the frames of OK and Cancel, 80 x 26 at 116 and 208.
                                labels_shown = inked(d, dialog, 118, 68, 76, 22) &&
                                               inked(d, dialog, 210, 68, 76, 22);
                                XGetTransientForHint(d, dialog, &transient_for);
                                Atom* protocols = nullptr;
                                int count = 0;
                                offers_close = XGetWMProtocols(d, dialog, &protocols, &count) &&
                                               count == 1 &&
                                               protocols[0] == XInternAtom(d, "WM_DELETE_WINDOW",
                                                                           False);
                                XFree(protocols);
                                XCloseDisplay(d);
                            }),
              1);
    EXPECT_TRUE(line_shown);
    EXPECT_TRUE(margin_clear);
    EXPECT_TRUE(labels_shown);
    EXPECT_TRUE(offers_close); // a window manager's close button cancels
    EXPECT_EQ(transient_for, x11::xid(owner));
}
