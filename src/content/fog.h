#pragma once

// Linear fog. Applying it only sends the parameters; each drawing step
// decides whether fog is enabled.
class Fog
{
public:
    virtual ~Fog() = default;

    void set_color(float r, float g, float b, float a);
    void apply() const;

    float color[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float start = 0.2f;
    float end = 2.0f;
};

extern Fog scene_fog;
