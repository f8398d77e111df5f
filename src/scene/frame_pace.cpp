#include "scene/frame_pace.h"

#include <algorithm>

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
