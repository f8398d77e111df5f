// baseline-saver: the baseline picture as a full-screen X program, paced like
// the saver: the first frame comes with the first tick of a 10 ms timer after
// the start, and a tick is never sooner than 10 ms after the one before.
// Any key ends it; so does a termination signal.
#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <ctime>

#include "baseline_picture.h"

namespace
{

constexpr long tick_ns = 10000000;

timespec later(timespec t, long ns)
{
    t.tv_nsec += ns;
    while (t.tv_nsec >= 1000000000L) {
        t.tv_nsec -= 1000000000L;
        ++t.tv_sec;
    }
    return t;
}

double seconds_between(const timespec& a, const timespec& b)
{
    return static_cast<double>(b.tv_sec - a.tv_sec) +
           static_cast<double>(b.tv_nsec - a.tv_nsec) * 1e-9;
}

} // namespace

int main()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("baseline-saver: no X display\n", stderr);
        return 1;
    }
    const int screen = DefaultScreen(display);
    const int width = DisplayWidth(display, screen);
    const int height = DisplayHeight(display, screen);
    int attributes[] = {
        GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8,   GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE,
        8,        GLX_DEPTH_SIZE,   16,           None};
    XVisualInfo* visual = glXChooseVisual(display, screen, attributes);
    if (!visual) {
        std::fputs("baseline-saver: no GL visual\n", stderr);
        return 1;
    }
    const Window root = RootWindow(display, screen);
    XSetWindowAttributes window_attributes{};
    window_attributes.override_redirect = True;
    window_attributes.event_mask = KeyPressMask;
    window_attributes.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    window_attributes.background_pixel = BlackPixel(display, screen);
    const Window window = XCreateWindow(
        display, root, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
        visual->depth, InputOutput, visual->visual,
        CWOverrideRedirect | CWEventMask | CWColormap | CWBackPixel, &window_attributes);
    GLXContext context = glXCreateContext(display, visual, nullptr, True);
    glXMakeCurrent(display, window, context);
    baseline_start(width, height);
    XMapRaised(display, window);
    XSync(display, False);

    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    timespec tick = later(start, tick_ns);
    for (;;) {
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &tick, nullptr);
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        tick = later(now, tick_ns);
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == KeyPress)
                return 0;
        }
        baseline_frame(seconds_between(start, now));
        glXSwapBuffers(display, window);
    }
}
