#pragma once

class TextureSlot;
class View;

constexpr int max_particles = 5001;

// The GL blend factors that the particles' two blend indices choose from.
struct BlendFactors {
    unsigned source[9];
    unsigned destination[8];
};
extern const BlendFactors blend_factor_table;

// Large, soft, camera-facing textured quads whose velocities take a random
// walk, one component at a time, within the ball of diameter outer_size: one
// that reaches its edge turns back.
class ParticleSystem
{
public:
    virtual ~ParticleSystem() = default;

    void spawn();
    void update(float dt, float jitter);
    void draw(const View& view, float fade);

    int count = 100;
    int shape = 1;
    int alpha_test = 0;
    int blend = 1;
    int blend_source = 0;
    int blend_destination = 0;
    int depth_test = 1;
    int depth_write = 0;
    int fog = 0;
    float alpha_reference = 0.05f;
    float opacity = 1.0f;
    float outer_size = 2.0f;
    float quad_half_size = 0.1f;
    float inner_size = 0.0f;
    float color_floor = 0.4f;
    float white_floor = 0.9f;
    float position_x[max_particles] = {};
    float position_y[max_particles] = {};
    float position_z[max_particles] = {};
    float red[max_particles] = {};
    float green[max_particles] = {};
    float blue[max_particles] = {};
    float velocity_x[max_particles] = {};
    float velocity_y[max_particles] = {};
    float velocity_z[max_particles] = {};
    float brightness[max_particles] = {};
    TextureSlot* texture = nullptr;

private:
    void keep_inside(int i);
};

extern ParticleSystem scene_particles;
