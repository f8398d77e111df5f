#pragma once
#include "platform/win32.h"

// The saver window's procedures, each passing on what it does not keep:
// saver_window_proc, then render_proc (creation, ticks, destruction), then
// close_rules_proc (the input rules), then the platform's default.
LRESULT CALLBACK saver_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK render_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT close_rules_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
