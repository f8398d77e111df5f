#pragma once

// What every top ends saving and paces its frames by, with or without the
// Windows API, so that a saver behaves alike wherever it runs.

// The pointer may move this far, across plus down, before saving ends: a
// desk that shakes does not end it, a hand that reaches for the mouse does.
constexpr int pointer_move_limit = 4; // pixels

// Windows' shortest timer; every platform keeps it, so a frame rate means
// the same on each.
constexpr unsigned shortest_frame_interval_ms = 10;

// The timer interval of the full frame rate, the one the saver has always
// asked for: every platform raises it to the shortest above, so it means 100
// frames a second wherever it runs. It is the interval until the settings
// give another.
constexpr unsigned full_rate_frame_interval_ms = 5;
