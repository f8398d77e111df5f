#include "common/frame_clock.h"

#include <chrono>

namespace
{

const auto time_base = std::chrono::steady_clock::now();

std::int64_t monotonic_milliseconds()
{
    const auto elapsed = std::chrono::steady_clock::now() - time_base;
    return std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
}

MillisecondSource source = monotonic_milliseconds;

} // namespace

void set_millisecond_source(MillisecondSource replacement)
{
    source = replacement ? replacement : monotonic_milliseconds;
}

std::int64_t read_milliseconds()
{
    return source();
}

void FrameClock::update()
{
    previous = now;
    elapsed_ms = static_cast<double>(read_milliseconds());
    now = speed_since_now + (elapsed_ms - speed_since_ms) * 0.001 * speed;
    delta = now - previous;
}

void FrameClock::change_speed(double new_speed)
{
    speed_since_ms = elapsed_ms;
    speed_since_now = now;
    speed = new_speed;
}
