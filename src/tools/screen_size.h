#pragma once
// The size in pixels of the screen a lock screen will show a picture on:
// the largest output of the Wayland compositor where WAYLAND_DISPLAY is set,
// else the X screen where DISPLAY is, each side at most the largest picture.
// False when neither is there to answer.
bool shown_screen_size(int& width, int& height);
