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

// A picture on each of the saver window's monitors when the settings ask for
// it and there are several: how many areas it wrote into pictures. None, for
// one picture over the whole window, otherwise and always in a preview that
// is not a wallpaper.
int lay_out_monitors(HWND window, ScreenArea* pictures);
