#pragma once
// The one place that decides which Windows API the shell sees: the system's
// own on Windows, the project's small implementation on X11 elsewhere.
#ifdef _WIN32
#include <windows.h>
// MinGW's headers still call the battery saver's byte of SYSTEM_POWER_STATUS
// by its old name, and know no notice of its changes.
#ifdef __MINGW32__
#define SystemStatusFlag Reserved1
inline const GUID GUID_POWER_SAVING_STATUS = {
    0xe00958c0, 0xc213, 0x4ace, {0xac, 0x77, 0xfe, 0xcc, 0xed, 0x2e, 0xee, 0xa5}};
#endif
#else
#include "platform/win32_api.h"
#endif
