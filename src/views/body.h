#pragma once
#include "views/vec3.h"

// A camera pose. Only position and angles are read; the motion-model fields
// are kept at their resting values so a pose always starts from the same state.
class Body
{
public:
    Body();
    virtual ~Body() = default;

    void reset();

    int motion_mode = 0;
    int wrap_angles = 0;
    float shake_amplitude = 0.0f;
    float shake_rates[3] = {};
    float first_spare = 0.0f;
    float second_spare = 0.0f;
    float motion_rate = 0.0f;
    float sway_rate = 0.0f;
    Vec3 position;
    Vec3 velocity;
    Vec3 acceleration;
    Vec3 angles; // degrees about x, y and z
    Vec3 angular_velocity;
    Vec3 spare_vector;
    Vec3 home_position;
    Vec3 motion_amplitude;
    Vec3 motion_centre;
    Vec3 sway_amplitude;
    Vec3 sway_centre;
    Vec3 shake_offset;
    Vec3 aim_point;
};
