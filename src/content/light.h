#pragma once
#include "views/vec3.h"

constexpr int light_count = 8;
constexpr unsigned no_gl_light = 0; // a number outside 0 to 7 names no light

// A positional GL light. It stands outside the sphere the camera looks at
// from inside, so nothing where it stands could ever be seen.
class Light
{
public:
    virtual ~Light() = default;

    unsigned gl_light() const; // GL_LIGHT0 + number, or no_gl_light
    void apply();
    void enable();

    int number = 0; // 0 to 7; any other number drives no light
    float gl_position[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float spot_direction[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    Vec3 position{1.0f, 1.0f, 1.0f};
    float color[3] = {1.0f, 1.0f, 1.0f};
};

extern Light scene_light;
