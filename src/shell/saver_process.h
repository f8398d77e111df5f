#pragma once
#include "platform/win32.h"

// What every part of the shell shares about the running process: set once at
// entry, read by the window and its procedures.
extern HINSTANCE module_instance;
// The older platform family, the only one with the saver password services.
extern BOOL legacy_platform;

// Tells the older platform family that a password-protected saver runs, so
// that it keeps the system keys from switching away; the newer family needs
// no telling.
void announce_saver_running(BOOL on);
