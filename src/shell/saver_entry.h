#pragma once
#include "platform/win32.h"

// The exit code after a crash that the guard caught.
constexpr int saver_crash_exit_code = 70;

// Takes the command line itself, runs one mode and ends the process.
[[noreturn]] void process_start();
int saver_main(HINSTANCE instance, HINSTANCE previous, LPSTR command_tail, int show_state);

HWND parse_window_handle(LPCSTR text);
int run_preview(LPCSTR text);
int run_config(HWND owner);
int run_password_change(LPCSTR text);
void change_password(HWND owner);
LONG CALLBACK saver_crash_filter(EXCEPTION_POINTERS* info);
