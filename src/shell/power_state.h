#pragma once
#include "platform/win32.h"

// What the platform says, while the saver runs, of the display and the power
// source: a picture that nobody can see is not drawn, and one on battery
// costs what the settings allow.
extern bool display_off;
extern bool running_on_battery;

// Reads the power source and asks to be told when it or the display changes.
void watch_power(HWND window);
void stop_watching_power();
// A change the window was told of; false for a setting it did not ask for.
bool take_power_setting(const POWERBROADCAST_SETTING& setting);
