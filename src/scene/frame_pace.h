#pragma once
#include <cstdint>

// What a tick of the frame timer does, the same in every top: a picture that
// nobody can see is not drawn, and the settings decide what battery power
// and a long while of saving cost. Where nothing is drawn the scene still
// steps at the timer's pace, so the picture that comes back is the one that
// would have been there.
enum class FrameWork {
    draw,       // step the scene and draw it
    step,       // step only: nobody can see the picture
    black,      // step, and show black once: on battery, as the settings ask
    black_end,  // show black once and stop the timer: the settings' delay is past
};

// saving_ms: how long saving has gone on.
FrameWork frame_work(bool running_on_battery, bool nobody_sees, std::int64_t saving_ms);
// The timer's interval for the settings' frame rate, slower on battery when
// the settings ask.
unsigned tick_interval(unsigned interval_ms, bool running_on_battery);
