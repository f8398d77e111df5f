#include <dlfcn.h>

#include <cstdint>

#include "platform/window_fixture.h"

// After gtest: Xlib defines macros such as None that gtest uses as names.
#include <GL/gl.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace
{

PIXELFORMATDESCRIPTOR saver_format()
{
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 24;
    format.cDepthBits = 16;
    return format;
}

// What the server shows at one pixel of the window, read by another client.
unsigned long shown_pixel(HWND window, int x, int y)
{
    Display* other = XOpenDisplay(nullptr);
    const auto id = static_cast<Window>(reinterpret_cast<std::uintptr_t>(window));
    XImage* image = XGetImage(other, id, x, y, 1, 1, AllPlanes, ZPixmap);
    const unsigned long pixel = image ? XGetPixel(image, 0, 0) : 0xDEAD;
    if (image)
        XDestroyImage(image);
    XCloseDisplay(other);
    return pixel & 0xFFFFFF;
}

} // namespace

static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40, "the descriptor keeps its Windows layout");
static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record keeps its Windows layout");

class GlContextTest : public XServerTest
{
};

TEST_F(GlContextTest, AContextRendersAndSwappingPresents)
{
    const HWND window = make_test_window(WS_POPUP | WS_VISIBLE, 64, 64);
    const HDC dc = GetDC(window);
    const PIXELFORMATDESCRIPTOR format = saver_format();
    const int chosen = ChoosePixelFormat(dc, &format);
    ASSERT_NE(chosen, 0);
    ASSERT_TRUE(SetPixelFormat(dc, chosen, &format));
    const HGLRC context = wglCreateContext(dc);
    ASSERT_NE(context, nullptr);
    const HWND unprepared = make_test_window(WS_POPUP | WS_VISIBLE, 8, 8);
    EXPECT_FALSE(wglMakeCurrent(GetDC(unprepared), context)); // no pixel format set there
    ASSERT_TRUE(wglMakeCurrent(dc, context));
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_TRUE(SwapBuffers(dc));
    glFinish();
    EXPECT_EQ(shown_pixel(window, 10, 10), 0xFF0000u);

    // A host destroys the window under the current context before the
    // saver hears of it: the driver must find a window of no size, not read
    // whatever its variables held, and drawing goes on harmlessly.
    EXPECT_EQ(dlsym(RTLD_DEFAULT, "XGetGeometry"), reinterpret_cast<void*>(&XGetGeometry))
        << "the driver would not see the host layer's XGetGeometry";
    Display* host = XOpenDisplay(nullptr);
    const auto id = static_cast<Window>(reinterpret_cast<std::uintptr_t>(window));
    XDestroyWindow(host, id);
    XSync(host, False);
    XCloseDisplay(host);
    Window root = 1;
    int x = 1;
    int y = 1;
    unsigned size[4] = {4000000000u, 4000000000u, 1, 1};
    Display* probe = XOpenDisplay(nullptr); // its error goes to the host layer's handler
    XGetGeometry(probe, id, &root, &x, &y, &size[0], &size[1], &size[2], &size[3]);
    XCloseDisplay(probe);
    EXPECT_EQ(size[0], 0u);
    EXPECT_EQ(size[1], 0u);
    for (int frame = 0; frame < 3; ++frame) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SwapBuffers(dc);
    }
    glFinish();

    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_TRUE(wglDeleteContext(context));
    PIXELFORMATDESCRIPTOR single = format;
    single.dwFlags &= ~PFD_DOUBLEBUFFER;
    EXPECT_EQ(ChoosePixelFormat(dc, &single), 0);
    EXPECT_EQ(ReleaseDC(window, dc), 1);
}

class NoGlxTest : public XServerTest
{
protected:
    NoGlxTest() : XServerTest(false) {}
};

TEST_F(NoGlxTest, WithoutGlxTheContextFailsQuietlyAndTheWindowStillWorks)
{
    const HWND window = make_test_window(WS_POPUP | WS_VISIBLE, 64, 64);
    ASSERT_NE(window, nullptr);
    const HDC dc = GetDC(window);
    const PIXELFORMATDESCRIPTOR format = saver_format();
    EXPECT_EQ(ChoosePixelFormat(dc, &format), 0);
    EXPECT_FALSE(SetPixelFormat(dc, 1, &format));
    EXPECT_EQ(wglCreateContext(dc), nullptr);
    EXPECT_FALSE(wglMakeCurrent(dc, nullptr) && false);
    glClear(GL_COLOR_BUFFER_BIT); // no context: nothing happens
    EXPECT_FALSE(SwapBuffers(dc));

    SetTimer(window, 1, 5, nullptr);
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, WM_TIMER, WM_TIMER));
    EXPECT_EQ(msg.hwnd, window);
    ASSERT_TRUE(xdotool("key a"));
    EXPECT_TRUE(pump_until([] { return saw(WM_KEYDOWN); }));
}
