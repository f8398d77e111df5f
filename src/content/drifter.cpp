#include "content/drifter.h"

#include <cmath>

#include "common/random.h"

namespace
{
int next_serial = 0;
}

Drifter::Drifter() : serial(next_serial++) {}

void Drifter::step(double delta)
{
    if (level == 0.0 || level == 1.0) {
        if (rand_scaled(1.0) < 0.0001)
            level_velocity = (level == 1.0 ? -0.1 : 0.1) * delta;
    }
    level += delta * level_velocity;
    if (level_velocity < 0.0 && level < 0.05) {
        level = 0.0;
        level_velocity = 0.0;
    } else if (level_velocity > 0.0 && level > 1.0) {
        level = 1.0;
        level_velocity = 0.0;
    }
    const double multiplier = speed_multiplier ? *speed_multiplier : 1.0;
    phase += level * speed_factor * delta * multiplier * speed;
}

double Drifter::value() const
{
    return (std::cos(phase) * 0.5 + 0.5) * range + offset;
}
