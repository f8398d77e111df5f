#pragma once
#include "platform/win32.h"

// The saver window's rendering context, made at creation and kept to the end.
extern HDC render_dc;
extern HGLRC render_glrc;
extern const PIXELFORMATDESCRIPTOR pixel_format;

constexpr UINT_PTR frame_timer_id = 1;
// Asked of the timer, which raises it to shortest_frame_interval_ms; the
// settings' frame rate sets it, or on Linux a display mode's --delay.
extern UINT frame_interval_ms;

void make_gl_context(HWND window, HDC* dc, HGLRC* context);
void release_gl_context(HWND window, HDC dc, HGLRC context);
