#pragma once
// The one place that decides which Windows API the shell sees: the system's
// own on Windows, the project's small implementation on X11 elsewhere.
#ifdef _WIN32
#include <windows.h>
#else
#include "platform/win32_api.h"
#endif
