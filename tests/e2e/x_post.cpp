// Another X client posting a window message to a saver window, the way the
// host layer carries messages between processes: x-post WINDOW MESSAGE
// WPARAM LPARAM, numbers in any base strtoul reads.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    Display* d = XOpenDisplay(nullptr);
    if (argc != 5 || !d) {
        std::fputs("usage: x-post WINDOW MESSAGE WPARAM LPARAM\n", stderr);
        return 2;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = std::strtoul(argv[1], nullptr, 0);
    event.xclient.message_type = XInternAtom(d, "_ORBDRIFT_WIN32_MESSAGE", False);
    event.xclient.format = 32;
    for (int i = 0; i < 3; ++i)
        event.xclient.data.l[i] = static_cast<long>(std::strtoul(argv[i + 2], nullptr, 0));
    XSendEvent(d, event.xclient.window, False, NoEventMask, &event);
    XSync(d, False);
    XCloseDisplay(d);
    return 0;
}
