#pragma once
#include <cstdint>

// Elapsed time of the scene, read once at setup and once per frame.
class FrameClock
{
public:
    virtual ~FrameClock() = default;

    void update();

    double previous = 0.0;   // seconds
    double now = 0.0;        // seconds
    double delta = 0.0;      // seconds, now - previous
    double elapsed_ms = 0.0; // the raw reading of the last update
    double speed = 1.0;      // simulated seconds per second of the clock
};

extern FrameClock frame_clock;

// Whole milliseconds since a time base fixed at process start. Tests and
// tools replace the source to drive time themselves; nullptr restores the
// monotonic clock.
using MillisecondSource = std::int64_t (*)();
void set_millisecond_source(MillisecondSource source);
std::int64_t read_milliseconds();
