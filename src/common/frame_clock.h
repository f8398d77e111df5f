#pragma once
#include <cstdint>

// Elapsed time of the scene, read once at setup and once per frame.
class FrameClock
{
public:
    virtual ~FrameClock() = default;

    void update();
    // From the last update on at another speed: the scene goes on from
    // where it is rather than jumping to where the new speed would have
    // brought it.
    void change_speed(double new_speed);

    double previous = 0.0;        // seconds
    double now = 0.0;             // seconds
    double delta = 0.0;           // seconds, now - previous
    double elapsed_ms = 0.0;      // the raw reading of the last update
    double speed = 1.0;           // simulated seconds per second of the clock
    double speed_since_ms = 0.0;  // the reading the speed holds since
    double speed_since_now = 0.0; // and the scene's time then
};

extern FrameClock frame_clock;

// Whole milliseconds since a time base fixed at process start. Tests and
// tools replace the source to drive time themselves; nullptr restores the
// monotonic clock.
using MillisecondSource = std::int64_t (*)();
void set_millisecond_source(MillisecondSource source);
std::int64_t read_milliseconds();
