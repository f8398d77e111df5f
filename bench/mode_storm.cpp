// mode_storm MODE MODE RATE: switches the X screen's first CRTC from one of
// the two named RandR modes to the other RATE times a second until it is
// ended, as a loose cable or a driver gone round in circles would. Two modes
// of the same timings under two names make a storm that leaves the refresh
// as it is.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace
{

RRMode mode_named(XRRScreenResources* resources, const char* name)
{
    for (int i = 0; i < resources->nmode; ++i)
        if (std::strcmp(resources->modes[i].name, name) == 0)
            return resources->modes[i].id;
    return None;
}

} // namespace

int main(int argc, char** argv)
{
    Display* d = argc == 4 ? XOpenDisplay(nullptr) : nullptr;
    if (!d) {
        std::fputs("usage: mode_storm MODE MODE RATE, on an X display\n", stderr);
        return 2;
    }
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(d, DefaultRootWindow(d));
    const RRMode modes[2] = {mode_named(resources, argv[1]), mode_named(resources, argv[2])};
    XRRCrtcInfo* crtc =
        resources->ncrtc > 0 ? XRRGetCrtcInfo(d, resources, resources->crtcs[0]) : nullptr;
    if (!crtc || modes[0] == None || modes[1] == None) {
        std::fputs("mode_storm: no such modes, or no CRTC\n", stderr);
        return 1;
    }
    const long pause_ns = 1000000000L / std::max(std::atol(argv[3]), 1L);
    timespec next{};
    clock_gettime(CLOCK_MONOTONIC, &next);
    for (unsigned long i = 0;; ++i) {
        XRRSetCrtcConfig(d, resources, resources->crtcs[0], CurrentTime, crtc->x, crtc->y,
                         modes[i % 2], crtc->rotation, crtc->outputs, crtc->noutput);
        XSync(d, False);
        next.tv_nsec += pause_ns; // on a schedule, so the rate holds where switching is quick
        next.tv_sec += next.tv_nsec / 1000000000L;
        next.tv_nsec %= 1000000000L;
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
    }
}
