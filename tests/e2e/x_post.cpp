// Another X client sending a saver window what other programs can send it:
// x-post WINDOW MESSAGE WPARAM LPARAM posts a window message the way the host
// layer carries messages between processes (numbers in any base strtoul
// reads); x-post WINDOW close-request asks to close as a window manager's
// close button does.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    Display* d = XOpenDisplay(nullptr);
    const bool close_request = argc == 3 && std::strcmp(argv[2], "close-request") == 0;
    if (!d || (argc != 5 && !close_request)) {
        std::fputs("usage: x-post WINDOW MESSAGE WPARAM LPARAM | x-post WINDOW close-request\n",
                   stderr);
        return 2;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = std::strtoul(argv[1], nullptr, 0);
    event.xclient.format = 32;
    if (close_request) {
        event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    } else {
        event.xclient.message_type = XInternAtom(d, "_ORBDRIFT_WIN32_MESSAGE", False);
        for (int i = 0; i < 3; ++i)
            event.xclient.data.l[i] = static_cast<long>(std::strtoul(argv[i + 2], nullptr, 0));
    }
    XSendEvent(d, event.xclient.window, False, NoEventMask, &event);
    XSync(d, False);
    XCloseDisplay(d);
    return 0;
}
