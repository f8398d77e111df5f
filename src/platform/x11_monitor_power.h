#pragma once
// Apart from the Windows API's names: the X extension's headers define a BOOL
// of their own.
typedef struct _XDisplay Display;

// Whether the X server has the monitor powered down (the DPMS extension);
// a server without the extension never has.
bool monitor_powered_down(Display* display);
