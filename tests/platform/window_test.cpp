#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/window_fixture.h"
#include "platform/x11_internal.h"

// After gtest: Xlib defines macros such as None that gtest uses as names.
#include <X11/Xlib.h>

namespace
{

HWND as_handle(Window id)
{
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(id));
}

// Another X client, as the host of a preview would be.
class OtherClient
{
public:
    OtherClient() : display(XOpenDisplay(nullptr)) {}
    ~OtherClient()
    {
        if (display)
            XCloseDisplay(display);
    }
    Window make_window(int width, int height)
    {
        const Window id = XCreateSimpleWindow(display, DefaultRootWindow(display), 10, 10,
                                              static_cast<unsigned>(width),
                                              static_cast<unsigned>(height), 0, 0, 0);
        XMapWindow(display, id);
        XSync(display, False);
        return id;
    }
    Display* display;
};

} // namespace

class WindowTest : public XServerTest
{
};

TEST_F(WindowTest, APreviewChildFillsAForeignParentAndDiesWithIt)
{
    OtherClient host;
    const Window parent = host.make_window(200, 150);
    const HWND host_window = as_handle(parent);
    const Window gone = host.make_window(5, 5);
    XDestroyWindow(host.display, gone);
    XSync(host.display, False);
    EXPECT_FALSE(IsWindow(as_handle(gone))); // an error that must not outlast its question
    ASSERT_TRUE(IsWindow(host_window));
    RECT area{};
    ASSERT_TRUE(GetClientRect(host_window, &area));
    EXPECT_EQ(area.right, 200);
    EXPECT_EQ(area.bottom, 150);
    EXPECT_EQ(area.left + area.top, 0); // client coordinates start at the corner

    const HWND child =
        make_test_window(WS_CHILD | WS_VISIBLE, area.right, area.bottom, host_window);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetParent(child), host_window);
    EXPECT_EQ(GetParent(host_window), nullptr);

    // A host may change size; the child keeps filling it and is told.
    XResizeWindow(host.display, parent, 300, 200);
    XSync(host.display, False);
    const auto size_told = [] {
        pump_until([] { return saw(WM_SIZE); });
        const auto size = std::find_if(seen.begin(), seen.end(),
                                       [](const SeenMessage& m) { return m.message == WM_SIZE; });
        return size == seen.end() ? LPARAM(0) : size->lparam;
    };
    EXPECT_EQ(size_told(), MAKELPARAM(300, 200));
    ASSERT_TRUE(GetClientRect(child, &area));
    EXPECT_EQ(area.right, 300);
    EXPECT_EQ(area.bottom, 200);
    // Back to its first width: told again, measured against the size it had last.
    seen.clear();
    XResizeWindow(host.display, parent, 200, 200);
    XSync(host.display, False);
    EXPECT_EQ(size_told(), MAKELPARAM(200, 200));

    XDestroyWindow(host.display, parent);
    XSync(host.display, False);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0))
        DispatchMessageA(&msg);
    EXPECT_TRUE(saw(WM_DESTROY));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(nullptr));
    // A parent already gone gives no child that would never be drawn in.
    EXPECT_EQ(make_test_window(WS_CHILD | WS_VISIBLE, 20, 20, host_window), nullptr);
}

TEST_F(WindowTest, ASaverWindowOfAnotherProcessIsFoundByClassAndTitle)
{
    // The other saver waits for its pipe to close, not for a signal: our
    // layer notes a SIGTERM that comes before a pause() and never ends it.
    int ready[2];
    int done[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(done), 0);
    const pid_t other = fork();
    if (other == 0) {
        close(done[1]);
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = DefWindowProcA;
        window_class.lpszClassName = "WindowsScreenSaverClass";
        RegisterClassA(&window_class);
        CreateWindowExA(WS_EX_TOPMOST, "WindowsScreenSaverClass", "Screen Saver",
                        WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
        (void)!write(ready[1], "x", 1);
        (void)!read(done[0], &done[1], 1);
        _exit(0);
    }
    close(done[0]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    const HWND found = FindWindowA("WindowsScreenSaverClass", "Screen Saver");
    EXPECT_NE(found, nullptr);
    EXPECT_TRUE(IsWindow(found));
    EXPECT_EQ(FindWindowA("WindowsScreenSaverClass", "Preview"), nullptr);
    EXPECT_EQ(FindWindowA("OtherClass", "Screen Saver"), nullptr);
    EXPECT_TRUE(SetForegroundWindow(found));
    EXPECT_EQ(GetForegroundWindow(), found);
    // X ids have 29 bits; one with a higher bit set would reach the server cut short.
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(reinterpret_cast<UINT_PTR>(found) | 1ull << 32)));
    close(done[1]);
    waitpid(other, nullptr, 0);
}

TEST_F(WindowTest, AWindowManagersCloseButtonAsksToClose)
{
    const HWND window = make_test_window(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50);
    EXPECT_EQ(GetParent(window), nullptr);
    OtherClient manager;
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = static_cast<Window>(reinterpret_cast<std::uintptr_t>(window));
    request.xclient.message_type = XInternAtom(manager.display, "WM_PROTOCOLS", False);
    request.xclient.format = 32;
    request.xclient.data.l[0] =
        static_cast<long>(XInternAtom(manager.display, "WM_DELETE_WINDOW", False));
    XSendEvent(manager.display, request.xclient.window, False, NoEventMask, &request);
    XSync(manager.display, False);
    seen.clear();
    EXPECT_TRUE(pump_until([] { return saw(WM_CLOSE); }));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(WindowTest, OnlyAnOrdinaryTopLevelWindowOffersToBeClosed)
{
    const auto offers_close = [](HWND window) {
        Atom* protocols = nullptr;
        int count = 0;
        const Window id = static_cast<Window>(reinterpret_cast<std::uintptr_t>(window));
        const bool offered = XGetWMProtocols(x11::display(), id, &protocols, &count) &&
                             count == 1 && protocols[0] == x11::atom("WM_DELETE_WINDOW");
        XFree(protocols);
        return offered;
    };
    EXPECT_TRUE(offers_close(make_test_window(WS_OVERLAPPEDWINDOW, 50, 50)));
    EXPECT_FALSE(offers_close(make_test_window(WS_POPUP, 640, 480))); // the full-screen saver
    const HWND ordinary = make_test_window(WS_OVERLAPPEDWINDOW, 50, 50);
    EXPECT_FALSE(offers_close(make_test_window(WS_CHILD, 10, 10, ordinary)));
    EXPECT_NE(make_test_window(WS_POPUP, 10, 0), nullptr); // no height is still a window
}

TEST_F(WindowTest, TheScreenClipBoxIsTheWholeScreen)
{
    RECT desktop{};
    EXPECT_TRUE(GetClientRect(GetDesktopWindow(), &desktop));
    EXPECT_EQ(desktop.right, 640);
    const HDC screen = GetDC(nullptr);
    RECT box{};
    EXPECT_EQ(GetClipBox(screen, &box), SIMPLEREGION);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(box.right - box.left, 640);
    EXPECT_EQ(box.bottom - box.top, 480);

    const HCURSOR arrow = reinterpret_cast<HCURSOR>(1);
    SetCursor(arrow);
    EXPECT_EQ(SetCursor(nullptr), arrow); // the cursor it replaced
}

TEST_F(WindowTest, APostToAnotherClientsWindowCarriesTheMessage)
{
    OtherClient host;
    const Window id = host.make_window(20, 20);
    ASSERT_TRUE(PostMessageA(as_handle(id), WM_CONTEXTMENU, 12, 0x00030004));
    XEvent event{};
    for (int tries = 0; tries < 100; ++tries) {
        XSync(host.display, False);
        if (XCheckTypedWindowEvent(host.display, id, ClientMessage, &event))
            break;
        usleep(10000);
    }
    ASSERT_EQ(event.type, ClientMessage);
    EXPECT_EQ(event.xclient.data.l[0], WM_CONTEXTMENU);
    EXPECT_EQ(event.xclient.data.l[1], 12);
    EXPECT_EQ(event.xclient.data.l[2], 0x00030004);
}

TEST_F(WindowTest, LosingTheDisplayEndsTheProgramWithAnError)
{
    const HWND window = make_test_window(WS_POPUP | WS_VISIBLE, 50, 50);
    ASSERT_NE(window, nullptr);
    EXPECT_EXIT(
        {
            server.stop();
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0))
                DispatchMessageA(&msg);
        },
        ::testing::ExitedWithCode(1), "lost the connection to the X display");
}

TEST_F(WindowTest, AContextMenuIsPlacedInScreenCoordinates)
{
    const HWND window = make_test_window(WS_POPUP | WS_VISIBLE, 50, 50);
    OtherClient mover;
    XMoveWindow(mover.display, static_cast<Window>(reinterpret_cast<std::uintptr_t>(window)), 100,
                40);
    XSync(mover.display, False);
    seen.clear();
    SendMessageA(window, WM_RBUTTONUP, 0, MAKELPARAM(5, 7));
    ASSERT_TRUE(saw(WM_CONTEXTMENU));
    EXPECT_EQ(seen.back().wparam, reinterpret_cast<WPARAM>(window));
    EXPECT_EQ(seen.back().lparam, MAKELPARAM(105, 47));
}

namespace
{

// Registers classes while its window is being made, which moves the class list.
LRESULT CALLBACK registering_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    static std::vector<std::string> names;
    if (message == WM_CREATE) {
        for (int i = 0; i < 64; ++i) {
            names.push_back("Registered" + std::to_string(i));
            WNDCLASSA more{};
            more.lpfnWndProc = DefWindowProcA;
            more.lpszClassName = names.back().c_str();
            RegisterClassA(&more);
        }
    }
    return test_window_proc(window, message, wparam, lparam);
}

LRESULT CALLBACK refusing_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    test_window_proc(window, message, wparam, lparam);
    return message == WM_CREATE ? -1 : 0;
}

} // namespace

TEST_F(WindowTest, AWindowThatRefusesItsCreationIsDestroyed)
{
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = refusing_proc;
    window_class.lpszClassName = "RefusingClass";
    ASSERT_TRUE(RegisterClassA(&window_class));
    seen.clear();
    EXPECT_EQ(CreateWindowExA(0, "RefusingClass", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                              nullptr, nullptr, nullptr),
              nullptr);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].message, UINT(WM_DESTROY));
    EXPECT_EQ(seen[1].window, seen[0].window);
    EXPECT_FALSE(IsWindow(seen[0].window));
}

TEST_F(WindowTest, AClassRegisteredDuringCreationLeavesTheNewWindowIntact)
{
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = registering_proc;
    window_class.lpszClassName = "RegisteringClass";
    ASSERT_TRUE(RegisterClassA(&window_class));
    WNDCLASSA nameless{};
    nameless.lpfnWndProc = registering_proc;
    EXPECT_EQ(RegisterClassA(&nameless), 0); // a class needs a name and a procedure
    EXPECT_EQ(RegisterClassA(nullptr), 0);
    seen.clear();
    const HWND window = CreateWindowExA(0, "RegisteringClass", "", WS_POPUP | WS_VISIBLE, 0, 0, 50,
                                        50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(saw(WM_SHOWWINDOW)); // through the procedure the class named
}
