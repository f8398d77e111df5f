#pragma once
#include "platform/win32.h"

// A window of the desktop's own kind over the whole X screen, for a
// wallpaper: under every other window, on every workspace, in no task bar or
// pager, never focused, and letting every click through to the root window.
// Null without an X display.
//
// While nobody can see it (another window covers it whole, or the focused
// window is full-screen over it) the windows that asked for news of the
// display are told that it is off, as when the monitor is off, so that a
// wallpaper under a full-screen program draws nothing.
HWND make_desktop_window();
