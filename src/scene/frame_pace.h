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

// A timer's ticks held to a period that need not be a whole number of
// milliseconds (a display's refresh, 16.67 ms at 60 Hz) with a clock and a
// timer that count whole ones: each wait is what is left to the next tick of
// the schedule, so the ticks keep the period on average. A tick late by less
// than a period keeps the schedule; one later starts it afresh, as missed
// ticks are not made up. Nothing but a tick moves the schedule on, so news
// that comes faster than the frames (a storm of mode switches) never holds
// them back. The clock may wrap.
class FrameSchedule
{
public:
    virtual ~FrameSchedule() = default;

    // The timer is set now for the first tick, one period away.
    unsigned started(double period_ms, std::uint32_t now_ms);
    // A tick came at tick_ms, and its frame is done now: the interval to set
    // the timer to, or 0 where the one it goes on with is right. The timer
    // counts from when it is set, after the frame.
    unsigned ticked(double period_ms, std::uint32_t tick_ms, std::uint32_t now_ms);
    // The period or anything else changed between ticks: the interval to set
    // the timer to, or 0 to leave it, which a timer about to tick is, since
    // setting it again could only put its tick off.
    unsigned changed(double period_ms, std::uint32_t now_ms);

    std::uint32_t due_ms = 0;   // when the latest tick was due, in whole
    double due_fraction = 0.0;  // milliseconds and the part of one beyond
    std::uint32_t timer_ms = 0;  // when the timer will tick,
    unsigned timer_interval = 0; // and its interval after that

private:
    unsigned wait_ms(double period_ms, std::uint32_t now_ms) const;
    unsigned set_timer(unsigned wait, std::uint32_t now_ms);
};
