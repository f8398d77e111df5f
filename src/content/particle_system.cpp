#include "content/particle_system.h"

#include <algorithm>
#include <cmath>

#include "common/gl.h"
#include "common/random.h"
#include "content/point_placement.h"
#include "textures/texture_slot.h"
#include "views/view.h"

const BlendFactors blend_factor_table = {
    {GL_ZERO, GL_ONE, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA,
     GL_DST_COLOR, GL_ONE_MINUS_DST_COLOR, GL_SRC_ALPHA_SATURATE},
    {GL_ZERO, GL_ONE, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA,
     GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR}};

namespace
{

struct Corner {
    float x, y, z;
};

void vertex(const Corner& p, float s, float t)
{
    glTexCoord2f(s, t);
    glVertex3f(p.x, p.y, p.z);
}

} // namespace

void ParticleSystem::spawn()
{
    const float half = outer_size * 0.5f;
    count = std::clamp(count, 0, max_particles);
    if (outer_size * 0.9f < inner_size)
        inner_size = outer_size * 0.9f;
    const float rin = inner_size * 0.5f + 0.01f;
    for (int i = 0; i < count; ++i) {
        double x = 0;
        double y = 0;
        double z = 0;
        if (!place_in_shell(
                shape, half, rin, [] { return rand_scaled(2.0); }, x, y, z)) {
            count = i; // no room for more
            break;
        }
        // Mostly near-white, one in ten coloured; red is drawn first.
        const bool coloured = rand_scaled(1.0) < 0.1;
        const double span = coloured ? white_floor : color_floor;
        const double floor = coloured ? color_floor : white_floor;
        red[i] = static_cast<float>(rand_scaled(span) + floor);
        green[i] = static_cast<float>(rand_scaled(span) + floor);
        blue[i] = static_cast<float>(rand_scaled(span) + floor);
        position_x[i] = static_cast<float>(x);
        position_y[i] = static_cast<float>(y);
        position_z[i] = static_cast<float>(z);
        brightness[i] = 1.0f;
    }
}

void ParticleSystem::update(float dt, float jitter)
{
    // Spawn keeps the count to the arrays, but the field is public.
    const int in_use = std::clamp(count, 0, max_particles);
    for (int i = 0; i < in_use; ++i) {
        position_x[i] += dt * velocity_x[i];
        position_y[i] += dt * velocity_y[i];
        position_z[i] += dt * velocity_z[i];
        keep_inside(i);
        // About once per second of running, whatever the frame rate.
        if (dt > rand_scaled(1.0)) {
            float* velocity[] = {velocity_x, velocity_y, velocity_z};
            const int axis = static_cast<int>(rand_scaled(3.0));
            velocity[axis][i] =
                static_cast<float>(rand_scaled(static_cast<double>(jitter)) - jitter * 0.5);
        }
    }
}

void ParticleSystem::keep_inside(int i)
{
    // Left alone, the walk carries most particles out of the sphere within
    // seconds, behind its wall.
    const float reach = outer_size * 0.5f;
    float* position[] = {&position_x[i], &position_y[i], &position_z[i]};
    float* velocity[] = {&velocity_x[i], &velocity_y[i], &velocity_z[i]};
    float squared = 0.0f;
    float outward = 0.0f;
    for (int axis = 0; axis < 3; ++axis) {
        squared += *position[axis] * *position[axis];
        outward += *position[axis] * *velocity[axis];
    }
    const float distance = std::sqrt(squared);
    if (distance <= reach)
        return;
    // Back onto the edge, however long the step was, and the way it came.
    for (int axis = 0; axis < 3; ++axis) {
        *position[axis] *= reach / distance;
        if (outward > 0.0f)
            *velocity[axis] = -*velocity[axis];
    }
}

void ParticleSystem::draw(const View& view, float fade)
{
    if (alpha_test) {
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GEQUAL, alpha_reference);
    } else {
        glDisable(GL_ALPHA_TEST);
    }
    const int in_use = std::clamp(count, 0, max_particles);
    if (in_use == 0)
        return;
    if (blend) {
        // Indices past the tables would read beyond them; the last entry is
        // the nearest meaning.
        glBlendFunc(blend_factor_table.source[std::clamp(blend_source, 0, 8)],
                    blend_factor_table.destination[std::clamp(blend_destination, 0, 7)]);
        glEnable(GL_BLEND);
    } else {
        glDisable(GL_BLEND);
    }
    depth_test ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
    glDepthMask(depth_write ? GL_TRUE : GL_FALSE);
    if (texture) {
        glEnable(GL_TEXTURE_2D);
        texture->bind();
    }
    // The camera's own axes, so every quad faces the viewer.
    const Camera& camera = view.camera;
    const float s = quad_half_size;
    const Corner a = {s * camera.right[0], s * camera.right[1], s * camera.right[2]};
    const Corner b = {s * camera.up[0], s * camera.up[1], s * camera.up[2]};
    for (int i = 0; i < in_use; ++i) {
        const Corner p = {position_x[i], position_y[i], position_z[i]};
        glColor4f(red[i] * brightness[i], green[i] * brightness[i], blue[i] * brightness[i],
                  fade * opacity);
        glBegin(GL_QUADS);
        vertex({p.x - a.x - b.x, p.y - a.y - b.y, p.z - a.z - b.z}, 0.0f, 0.0f);
        vertex({p.x + a.x - b.x, p.y + a.y - b.y, p.z + a.z - b.z}, 1.0f, 0.0f);
        vertex({p.x + a.x + b.x, p.y + a.y + b.y, p.z + a.z + b.z}, 1.0f, 1.0f);
        vertex({p.x - a.x + b.x, p.y - a.y + b.y, p.z - a.z + b.z}, 0.0f, 1.0f);
        glEnd();
    }
    if (alpha_test)
        glDisable(GL_ALPHA_TEST);
    if (blend)
        glDisable(GL_BLEND);
    if (depth_test)
        glDisable(GL_DEPTH_TEST);
    if (depth_write)
        glDepthMask(GL_FALSE);
    if (texture)
        glDisable(GL_TEXTURE_2D);
}
