#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <utility>

#include "platform/window_fixture.h"
#include "platform/x11_internal.h"

namespace
{

std::vector<UINT> dialog_messages;

// The settings dialog's lists and boxes in the order Tab visits them, and
// what each held when the dialog was answered: a list's item, a box's tick.
const int controls[] = {1001, 1003, 1004, 1005, 1006, 1007, 1008, 1009, 1011, 1010};
std::string answered;

INT_PTR CALLBACK ok_cancel_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM)
{
    dialog_messages.push_back(message);
    // Each list on its middle item and every other box ticked, so that a key
    // that goes the wrong way, nowhere or to another control shows.
    for (int id : controls)
        if (message == WM_INITDIALOG) {
            for (const char* item : {"ONE", "TWO", "THREE"})
                SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
            SendDlgItemMessageA(dialog, id, CB_SETCURSEL, 1, 0);
            CheckDlgButton(dialog, id, id % 2 ? BST_CHECKED : BST_UNCHECKED);
        }
    if (message == WM_COMMAND && (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)) {
        answered.clear();
        for (int id : controls) {
            const LRESULT item = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
            answered += std::to_string(item != CB_ERR ? item : IsDlgButtonChecked(dialog, id));
        }
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
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(2003), owner,
                                           ok_cancel_proc, 0);
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

// The 300 x 374 dialog is centred on the 640 x 480 screen, inside its border at 171, 54.
TEST_F(DialogTest, TheButtonsAnswerAndTheControlsWorkByMouseAndByKeys)
{
    EXPECT_EQ(answer_dialog("mousemove 418 398 click 1"), 0);            // Cancel
    EXPECT_EQ(answer_dialog("mousemove 334 398 click 1"), 1);            // and OK
    EXPECT_EQ(answer_dialog("mousemove 418 417 click 1 key Return"), 1); // just below Cancel
    EXPECT_EQ(answer_dialog("mousemove 381 398 click 1 key Return"), 0); // its leftmost column
    EXPECT_EQ(answered, "1101111111"); // as the dialog showed them
    // The list opens on a click, and a click on its third item chooses it;
    // then the keys alone: Tab to the Particles box, Space unticks it.
    EXPECT_EQ(answer_dialog("mousemove 340 80 click 1 mousemove 340 134 click 1 "
                            "key Tab space Return"),
              1);
    EXPECT_EQ(answered, "2001111111");
    // The arrows step through a list, Up and Left back, Down and Right on,
    // and stop at its ends; an open list takes Escape for itself, and opens
    // again on its first item when that is the chosen one; F4 only opens a
    // list; Tab past the boxes and lists to Cancel.
    EXPECT_EQ(answer_dialog("key Down Down Down Up Up space Escape space Return Tab F4 space Tab "
                            "Tab Down Tab Left Tab Left Tab Tab Tab Tab Tab F4 Tab Return"),
              0);
    EXPECT_EQ(answered, "0002001111");
    // A list opens on its chosen item; Shift+Tab goes back; Alt+F4 cancels.
    EXPECT_EQ(answer_dialog("key Right Tab space Tab space Tab F4 Up Return Tab F4 Down Return "
                            "shift+Tab shift+Tab space alt+F4"),
              0);
    EXPECT_EQ(answered, "2000211111");
}

TEST_F(DialogTest, ShowsItsControlsCentredOnItsOwnerAndAboveIt)
{
    const HWND owner = make_test_window(WS_VISIBLE, 100, 100);
    ASSERT_NE(owner, nullptr);
    XMoveWindow(x11::display(), x11::xid(owner), 200, 150);
    bool labels_shown = false;
    bool margin_clear = false;
    int left = 0;
    int top = 0;
    Window transient_for = 0;
    bool offers_close = false;
    bool fixed_size = false;
    const auto look = [&] {
        Display* d = XOpenDisplay(nullptr);
        const Window dialog = find_dialog(d);
        // "Texture:" at 15, 21; OK's frame at 126, 332.
        labels_shown =
            eventually_inked(d, dialog, 15, 22, 50, 14) && inked(d, dialog, 128, 334, 70, 20);
        margin_clear = !inked(d, dialog, 0, 0, 300, 10);
        Window child = 0;
        XTranslateCoordinates(d, dialog, DefaultRootWindow(d), 0, 0, &left, &top, &child);
        XGetTransientForHint(d, dialog, &transient_for);
        Atom* protocols = nullptr;
        int count = 0;
        offers_close = XGetWMProtocols(d, dialog, &protocols, &count) && count == 1 &&
                       protocols[0] == XInternAtom(d, "WM_DELETE_WINDOW", False);
        XFree(protocols);
        XSizeHints size{};
        long given = 0;
        fixed_size = XGetWMNormalHints(d, dialog, &size, &given) && size.min_width == 300 &&
                     size.max_width == 300 && size.min_height == 374 && size.max_height == 374;
        XCloseDisplay(d);
    };
    EXPECT_EQ(answer_dialog("key Return", owner, look), 1);
    EXPECT_TRUE(labels_shown);
    EXPECT_TRUE(margin_clear);
    EXPECT_EQ(left, 250 - 150 + 1); // the middle of the 100 x 100 owner, inside a border
    EXPECT_EQ(top, 200 - 187 + 1);
    EXPECT_TRUE(offers_close); // a window manager's close button cancels
    EXPECT_TRUE(fixed_size);   // and its frame cannot cut the controls off
    EXPECT_EQ(transient_for, x11::xid(owner));
    // Without an owner, over the middle of the monitor under the pointer.
    ASSERT_EQ(
        std::system("xrandr --setmonitor left 320/84x480/127+0+0 screen && xrandr "
                    "--setmonitor right 320/84x480/127+320+0 none && xdotool mousemove 480 9"),
        0);
    EXPECT_EQ(answer_dialog("key Return", nullptr, look), 1);
    EXPECT_EQ(std::pair(left, top), std::pair(480 - 150 + 1, 240 - 187 + 1));
}

// Its window destroyed by another client, its connection killed, its server
// gone: nothing was saved, so the process ends as Cancel ends it.
TEST_F(DialogTest, EndsAsCancelWhenItsWindowOrItsServerGoes)
{
    for (const auto end : {XDestroyWindow, XKillClient})
        EXPECT_EXIT(std::_Exit(static_cast<int>(answer_dialog("", nullptr,
                                                              [end] {
                                                                  Display* d =
                                                                      XOpenDisplay(nullptr);
                                                                  end(d, find_dialog(d));
                                                                  XCloseDisplay(d);
                                                              }))),
                    testing::ExitedWithCode(0), "");
    EXPECT_EXIT(answer_dialog("", nullptr, [this] { server.stop(); }), testing::ExitedWithCode(0),
                "");
}

TEST_F(DialogTest, AMessageBoxShowsItsLineUntilOk)
{
    std::thread person([] { xdotool("search --sync --onlyvisible --name '^Saving$' key Return"); });
    EXPECT_EQ(MessageBoxA(nullptr, "Access is denied.", "Saving", MB_OK | MB_ICONERROR), IDOK);
    person.join();
}
