// A stand-in for the settings page or the daemon that hosts a preview: makes
// a 200 x 150 window and prints its id; each line "W H" on its standard input
// resizes it, and it destroys the window when its standard input closes.
#include <X11/Xlib.h>

#include <cstdio>

int main()
{
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return 1;
    const Window host =
        XCreateSimpleWindow(d, DefaultRootWindow(d), 20, 20, 200, 150, 0, 0, 0xFFFFFF);
    XMapWindow(d, host);
    XSync(d, False);
    std::printf("%lu\n", host);
    std::fflush(stdout);
    unsigned width = 0;
    unsigned height = 0;
    char line[64];
    while (std::fgets(line, sizeof line, stdin)) {
        if (std::sscanf(line, "%u %u", &width, &height) == 2) {
            XResizeWindow(d, host, width, height);
            XSync(d, False);
        }
    }
    XDestroyWindow(d, host);
    XCloseDisplay(d);
    return 0;
}
