#pragma once

// What every top ends saving and paces its frames by, with or without the
// Windows API, so that a saver behaves alike wherever it runs.

// The pointer may move this far, across plus down, before saving ends: a
// desk that shakes does not end it, a hand that reaches for the mouse does.
constexpr int pointer_move_limit = 4; // pixels

// Windows' shortest timer; every platform keeps it, so a frame rate means
// the same on each.
constexpr unsigned shortest_frame_interval_ms = 10;
