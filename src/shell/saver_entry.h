#pragma once
#include "platform/win32.h"
#include "scene/scene_settings.h"

// The exit code after a crash that the guard caught.
constexpr int saver_crash_exit_code = 70;

// Takes the command line itself, runs one mode and ends the process.
[[noreturn]] void process_start();
int saver_main(HINSTANCE instance, HINSTANCE previous, LPSTR command_tail, int show_state);
// The preview for a host that is no Windows switch (a Linux display mode):
// its window and what to draw there come typed, not as a "/p" tail. As a
// wallpaper the host is the desktop and each monitor gets its picture. The
// result is the preview's, -1 when the window is not there.
int host_preview_main(HWND host, const SceneSettings& settings, UINT frame_interval,
                      BOOL wallpaper);

HWND parse_window_handle(LPCSTR text);
int run_preview(LPCSTR text);
int run_preview_in(HWND parent);
int run_config(HWND owner);
int run_password_change(LPCSTR text);
void change_password(HWND owner);
LONG CALLBACK saver_crash_filter(EXCEPTION_POINTERS* info);
