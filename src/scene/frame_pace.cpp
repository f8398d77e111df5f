#include "scene/frame_pace.h"

#include <algorithm>
#include <cmath>

#include "common/saver_limits.h"
#include "scene/scene_settings.h"

FrameWork frame_work(bool running_on_battery, bool nobody_sees, std::int64_t saving_ms)
{
    constexpr std::int64_t minute_ms = 60000;
    const int delay = scene_settings.black_after_minutes;
    if (delay > 0 && saving_ms >= delay * minute_ms)
        return FrameWork::black_end;
    if (nobody_sees)
        return FrameWork::step;
    if (running_on_battery && scene_settings.on_battery == battery_black)
        return FrameWork::black;
    return FrameWork::draw;
}

unsigned tick_interval(unsigned interval_ms, bool running_on_battery)
{
    if (running_on_battery && scene_settings.on_battery == battery_slower)
        return std::max(interval_ms, frame_interval_for(battery_frame_rate));
    return interval_ms;
}

namespace
{

// Milliseconds from one reading of a wrapping clock to a later one; negative
// for a clock that went back.
double since(std::uint32_t from_ms, std::uint32_t now_ms)
{
    return static_cast<double>(static_cast<std::int32_t>(now_ms - from_ms));
}

} // namespace

unsigned FrameSchedule::wait_ms(double period_ms, std::uint32_t now_ms) const
{
    const double left = due_fraction + period_ms - since(due_ms, now_ms);
    return static_cast<unsigned>(std::lround(std::max(left, 0.0)));
}

unsigned FrameSchedule::set_timer(unsigned wait, std::uint32_t now_ms)
{
    // Every platform raises a shorter interval to its shortest.
    timer_interval = std::max(wait, shortest_frame_interval_ms);
    timer_ms = now_ms + timer_interval;
    return std::max(wait, 1u); // 0 says the timer is left as it is
}

unsigned FrameSchedule::started(double period_ms, std::uint32_t now_ms)
{
    due_ms = now_ms;
    due_fraction = 0.0;
    return set_timer(wait_ms(period_ms, now_ms), now_ms);
}

unsigned FrameSchedule::ticked(double period_ms, std::uint32_t tick_ms, std::uint32_t now_ms)
{
    const double due = due_fraction + period_ms;
    const double at = since(due_ms, tick_ms);
    const double kept = at - due < period_ms ? due : at;
    const double whole = std::floor(kept);
    due_ms += static_cast<std::uint32_t>(whole);
    due_fraction = kept - whole;
    timer_ms = tick_ms + timer_interval; // where the timer set itself again
    // Left as it is where it ticks neither before the schedule's next tick
    // nor after the soonest a timer set now could.
    const unsigned wait = wait_ms(period_ms, now_ms);
    const double early = since(now_ms + wait, timer_ms);
    const double late = since(now_ms + std::max(wait, shortest_frame_interval_ms), timer_ms);
    return early >= 0 && late <= 0 ? 0 : set_timer(wait, now_ms);
}

unsigned FrameSchedule::changed(double period_ms, std::uint32_t now_ms)
{
    if (since(now_ms, timer_ms) < shortest_frame_interval_ms)
        return 0;
    return set_timer(wait_ms(period_ms, now_ms), now_ms);
}
