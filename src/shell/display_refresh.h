#pragma once
#include "platform/win32.h"

// A display shows one new picture a refresh: the frame timer's period is
// never shorter than one refresh of the display as it was last read, since a
// frame drawn between two refreshes is one nobody sees, and no longer
// either, since a refresh that shows the frame before again is one lost.
// A rate the system does not know (0 or 1, as virtual displays say) leaves
// the period as the settings ask.
void read_display_refresh();
double refresh_limited(double interval_ms);

// One refresh a swap, where the driver lets the saver ask: a driver that
// would otherwise not wait spends no CPU on pictures nobody can see, and
// a swap holds the loop for one refresh at the most.
void ask_one_refresh_per_swap();
