#pragma once
#include "platform/win32.h"

// What the platform says, while the saver runs, of the display and the power
// source: a picture that nobody can see is not drawn, and one on battery, or
// while the computer is asked to save power (the battery saver), costs what
// the "Power saving" setting allows.
extern bool display_off;
extern bool running_on_battery; // or asked to save power

// Reads the power source and the battery saver, and asks to be told when
// either or the display changes.
void watch_power(HWND window);
void stop_watching_power();
// A change the window was told of; false for a setting it did not ask for.
bool take_power_setting(const POWERBROADCAST_SETTING& setting);
