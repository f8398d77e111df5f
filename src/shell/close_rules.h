#pragma once
#include "common/saver_limits.h"
#include "platform/win32.h"

constexpr DWORD password_retry_guard = 200; // ms
constexpr UINT verification_request = WM_APP;

// On the older platform family with the password in use, asks the verifier
// whether saving may end; elsewhere it always may.
BOOL verify_before_close(HWND window);
void load_password_support();
void unload_password_support();
