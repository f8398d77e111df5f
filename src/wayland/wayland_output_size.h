#pragma once
// The largest output of the compositor WAYLAND_DISPLAY names, in pixels as
// its current mode has them, turned as the output is. False when there is no
// compositor or output, or no answer within two seconds: a lock screen waits
// for whoever asks first.
bool wayland_output_size(int& width, int& height);
