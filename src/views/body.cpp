#include "views/body.h"

Body::Body()
{
    reset();
    motion_amplitude.set(10.0f, 10.0f, 10.0f);
    motion_centre.set(0.0f, 0.0f, 0.0f);
    sway_amplitude.set(20.0f, 720.0f, 0.0f);
    sway_centre.set(0.0f, 0.0f, 0.0f);
    aim_point.set(0.0f, 0.0f, 0.0f);
    motion_rate = 1.0f;
    sway_rate = 1.0f;
    first_spare = 1.0f;
    reset();
    shake_rates[0] = 40.0f;
    shake_rates[1] = 50.0f;
    shake_rates[2] = 60.0f;
    wrap_angles = 0;
}

void Body::reset()
{
    position.set(0.0f, 0.0f, 0.0f);
    home_position.assign(position);
    velocity.set(0.0f, 0.0f, 0.0f);
    acceleration.set(0.0f, 0.0f, 0.0f);
    second_spare = 0.0f;
    angles.set(0.0f, 0.0f, 0.0f);
    angular_velocity.set(0.0f, 0.0f, 0.0f);
    shake_offset.set(0.0f, 0.0f, 0.0f);
    aim_point.set(0.0f, 0.0f, 0.0f);
    motion_mode = 0;
}
