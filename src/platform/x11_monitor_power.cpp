#include "platform/x11_monitor_power.h"

#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>

bool monitor_powered_down(Display* display)
{
    int event_base = 0;
    int error_base = 0;
    CARD16 level = DPMSModeOn;
    BOOL enabled = False;
    return display && DPMSQueryExtension(display, &event_base, &error_base) &&
           DPMSCapable(display) && DPMSInfo(display, &level, &enabled) && enabled &&
           level != DPMSModeOn;
}
