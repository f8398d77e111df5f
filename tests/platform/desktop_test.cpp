#include "platform/window_fixture.h"
#include "platform/x11_desktop.h"
#include "platform/x11_internal.h"
// After gtest, whose names its macros would take.
#include <X11/extensions/shape.h>

namespace
{

// A wallpaper under the windows of another client, as a session's programs
// make them, on a screen that is one monitor.
class DesktopTest : public XServerTest
{
protected:
    void SetUp() override
    {
        XServerTest::SetUp();
        other = XOpenDisplay(nullptr);
        ASSERT_NE(other, nullptr);
    }
    void TearDown() override
    {
        if (other)
            XCloseDisplay(other);
    }

    Window window_at(int x, int y, unsigned width, unsigned height)
    {
        const Window id =
            XCreateSimpleWindow(other, DefaultRootWindow(other), x, y, width, height, 0, 0, 0);
        XMapWindow(other, id);
        return id;
    }

    // Once the wallpaper has heard of all the other client did.
    bool hidden()
    {
        XSync(other, False);
        XSync(x11::display(), False);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        return x11::desktop_hidden();
    }

    Display* other = nullptr;
};

} // namespace

TEST_F(DesktopTest, AWindowCoversOnlyWhatItsShapeShows)
{
    ASSERT_NE(make_desktop_window(), nullptr);
    const Window cover = window_at(0, 0, 640, 480);
    EXPECT_TRUE(hidden());
    XShapeCombineRectangles(other, cover, ShapeBounding, 0, 0, nullptr, 0, ShapeSet, Unsorted);
    EXPECT_FALSE(hidden()) << "a window that shows nothing";
    XRectangle left{0, 0, 320, 480};
    XShapeCombineRectangles(other, cover, ShapeBounding, 0, 0, &left, 1, ShapeSet, Unsorted);
    EXPECT_FALSE(hidden()) << "a window that shows half of the screen";
    XRectangle beyond{-10, -10, 700, 500}; // cut to the window
    XShapeCombineRectangles(other, cover, ShapeBounding, 0, 0, &beyond, 1, ShapeSet, Unsorted);
    XMoveWindow(other, cover, 0, 1);
    EXPECT_FALSE(hidden()) << "a window moved to leave a row of the screen";
}

// Thousands of windows, one of them dragged: each move is judged from what
// the server said of it, not by asking after every window.
TEST_F(DesktopTest, AWindowMovedAmongThousandsIsJudgedWithoutAskingAfterEach)
{
    for (int i = 0; i < 3000; ++i)
        window_at(i % 64 * 10, i / 64 * 10, 8, 8);
    const Window dragged = window_at(0, 0, 320, 480);
    ASSERT_NE(make_desktop_window(), nullptr);
    EXPECT_FALSE(hidden());
    Display* d = x11::display();
    for (int x = 10; x <= 320; x += 10) {
        XMoveWindow(other, dragged, x, 0);
        const unsigned long before = NextRequest(d);
        EXPECT_FALSE(hidden());
        EXPECT_LT(NextRequest(d) - before, 20u) << "requests to judge a move to " << x;
    }
    XMoveResizeWindow(other, dragged, 0, 0, 640, 480);
    XRaiseWindow(other, dragged);
    EXPECT_TRUE(hidden());
    XLowerWindow(other, dragged);
    EXPECT_FALSE(hidden()) << "lowered under the wallpaper";
}
