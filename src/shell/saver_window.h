#pragma once
#include "platform/win32.h"

typedef BOOL(WINAPI* VerifyPasswordProc)(HWND window);
typedef void* InputContext;
typedef InputContext(WINAPI* AssociateContextProc)(HWND window, InputContext context);

// One saver window per process.
extern HWND saver_window;
extern BOOL preview_mode;
// A preview whose host lies over the whole desktop, under every window: its
// monitors get pictures as in saving.
extern BOOL wallpaper_mode;
extern BOOL close_confirmed;
extern BOOL verifying_password;
extern HMODULE password_library;
extern VerifyPasswordProc verify_password;
extern UINT autoplay_message;
extern HMODULE input_method_module;
extern AssociateContextProc associate_input_context;
extern InputContext previous_input_context;
extern POINT mouse_reference;
extern DWORD last_password_check;

extern const char* const saver_class_name;

int run_saver(HWND parent);
