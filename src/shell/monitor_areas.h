#pragma once
#include "platform/win32.h"
#include "scene/frame_driver.h"

// Monitor rectangles in screen coordinates (y down) as areas of a window's
// client area (y up from its bottom), whose top left is at origin on the
// screen: each clipped to the window, those outside it left out. Returns how
// many areas it wrote, at most room.
int monitor_areas(const RECT* monitors, int count, POINT origin, int width, int height,
                  ScreenArea* areas, int room);

constexpr int max_monitor_pictures = 16;

// The pictures of a saver window over several monitors, as the settings ask:
// one on each, or one on the main monitor with the rest black. Returns how
// many areas it wrote into pictures (none: the window is all black), or
// whole_window for one picture over it all, as always in a preview that is
// not a wallpaper.
constexpr int whole_window = -1;
int lay_out_monitors(HWND window, ScreenArea* pictures);

// A wallpaper's monitors as areas of its window, for one picture across them
// to be drawn only where it is seen; none for any other window.
int wallpaper_monitors(HWND window, ScreenArea* areas);

// Of a window's pictures, those anyone can see (a wallpaper's monitor under
// a full-screen window is not): copied to seen, and how many.
int seen_pictures(HDC dc, const ScreenArea* pictures, int count, ScreenArea* seen);
