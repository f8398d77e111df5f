#include "platform/window_fixture.h"
#include "platform/x11_internal.h"

// After gtest: Xlib defines macros such as None that gtest uses as names.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

namespace
{

bool saw_with(UINT message, WPARAM wparam)
{
    for (const SeenMessage& m : seen)
        if (m.message == message && m.wparam == wparam)
            return true;
    return false;
}

} // namespace

class InputTest : public XServerTest
{
protected:
    void SetUp() override
    {
        XServerTest::SetUp();
        window = make_test_window(WS_POPUP | WS_VISIBLE, 640, 480);
        ASSERT_NE(window, nullptr);
        pump_until([] { return false; }, 50); // settle the first events
        seen.clear();
    }
    HWND window = nullptr;
};

TEST_F(InputTest, KeysButtonsAndMotionArriveAsTheirMessages)
{
    ASSERT_TRUE(xdotool("key a"));
    EXPECT_TRUE(pump_until([] { return saw(WM_KEYDOWN); }));
    ASSERT_TRUE(xdotool("key alt+b"));
    EXPECT_TRUE(pump_until([] { return saw(WM_SYSKEYDOWN); }));
    ASSERT_TRUE(xdotool("click 1 click 2 click 3"));
    EXPECT_TRUE(pump_until(
        [] { return saw(WM_LBUTTONDOWN) && saw(WM_MBUTTONDOWN) && saw(WM_RBUTTONDOWN); }));
    EXPECT_TRUE(pump_until([] { return saw(WM_CONTEXTMENU); })); // from the right button
    int right_releases = 0;
    for (const SeenMessage& m : seen)
        right_releases += m.message == WM_RBUTTONUP;
    EXPECT_EQ(right_releases, 1); // the other buttons' releases are not reported

    ASSERT_TRUE(xdotool("mousemove 123 45"));
    EXPECT_TRUE(pump_until([] { return saw(WM_MOUSEMOVE); }));
    POINT cursor{};
    ASSERT_TRUE(GetCursorPos(&cursor));
    EXPECT_EQ(cursor.x, 123);
    EXPECT_EQ(cursor.y, 45);
}

TEST_F(InputTest, NoCursorShowsOverTheWindowOnceHidden)
{
    ASSERT_TRUE(xdotool("mousemove 100 100"));
    Display* other = XOpenDisplay(nullptr);
    int event_base = 0;
    int error_base = 0;
    int major = 2;
    int minor = 0;
    ASSERT_TRUE(XFixesQueryExtension(other, &event_base, &error_base));
    XFixesQueryVersion(other, &major, &minor);
    const auto shown_pixels = [other] {
        XFixesCursorImage* image = XFixesGetCursorImage(other);
        int shown = 0;
        for (int i = 0; image && i < image->width * image->height; ++i)
            shown += (image->pixels[i] >> 24) != 0; // not fully transparent
        XFree(image);
        return shown;
    };
    EXPECT_GT(shown_pixels(), 0);
    // With nothing grabbed, as in a preview, only the window's own cursor can hide it.
    XUngrabPointer(x11::display(), CurrentTime);
    SetCursor(nullptr);
    XSync(x11::display(), False); // the server has taken it before the other client asks
    EXPECT_EQ(shown_pixels(), 0);
    XCloseDisplay(other);
}

TEST_F(InputTest, LosingTheFocusToAnotherClientDeactivates)
{
    Display* other = XOpenDisplay(nullptr);
    const Window thief =
        XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 10, 10, 0, 0, 0);
    XMapWindow(other, thief);
    XSync(other, False);
    XSetInputFocus(other, thief, RevertToParent, CurrentTime);
    XSync(other, False);
    EXPECT_TRUE(pump_until([] { return saw_with(WM_ACTIVATEAPP, FALSE); }));
    XCloseDisplay(other);
}

TEST_F(InputTest, AnExposedWindowIsAskedToPaint)
{
    Display* other = XOpenDisplay(nullptr);
    const Window cover =
        XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 100, 100, 0, 0, 0);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    XChangeWindowAttributes(other, cover, CWOverrideRedirect, &attributes);
    XMapRaised(other, cover);
    XSync(other, False);
    XUnmapWindow(other, cover);
    XSync(other, False);
    EXPECT_TRUE(pump_until([] { return saw(WM_PAINT); }));
    XCloseDisplay(other);
}
