// A stand-in for the settings page that hosts a preview: makes a 200 x 150
// window, prints its id, and destroys it when its standard input closes.
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
    while (std::getchar() != EOF) {
    }
    XDestroyWindow(d, host);
    XCloseDisplay(d);
    return 0;
}
