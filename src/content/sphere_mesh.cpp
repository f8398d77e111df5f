#include "content/sphere_mesh.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "common/gl.h"

namespace
{

constexpr float pi = 3.1415927f;

struct RingPoint {
    float x, y, z;
};

// Ring 0 is the bottom pole, ring stacks - 1 the top one.
RingPoint ring_point(float phi, float theta)
{
    const float s = std::sin(phi);
    return {std::sin(theta) * s, -std::cos(phi), std::cos(theta) * s};
}

} // namespace

void SphereMesh::build(double radius, int slice_count, int stack_count)
{
    vertex_count = 0;
    index_count = 0;
    coordinates_made = false;
    if (slice_count < 3 || stack_count < 3 || slice_count > 100 || stack_count > 100)
        return;
    slices = slice_count;
    stacks = stack_count;
    strip_vertices = 2 * (slices + 1);
    const float d_theta = 2.0f * pi / static_cast<float>(slices);
    const float d_phi = pi / static_cast<float>(stacks - 1);
    for (int i = 0; i + 1 < stacks; ++i) {
        const float phi_upper = static_cast<float>(i + 1) * d_phi;
        const float phi_lower = static_cast<float>(i) * d_phi;
        for (int s = 0; s <= slices; ++s) {
            // The closing column reuses angle 0 so the seam meets exactly.
            const float theta = s == slices ? 0.0f : static_cast<float>(s) * d_theta;
            for (float phi : {phi_upper, phi_lower}) {
                const RingPoint p = ring_point(phi, theta);
                float* normal = &normals[3 * vertex_count];
                float* position = &positions[3 * vertex_count];
                normal[0] = p.x;
                normal[1] = p.y;
                normal[2] = p.z;
                position[0] = static_cast<float>(p.x * radius);
                position[1] = static_cast<float>(p.y * radius);
                position[2] = static_cast<float>(p.z * radius);
                ++vertex_count;
            }
        }
    }
    join_strips();
}

// Each strip after the first begins by repeating the last vertex of the one
// before and its own first: four triangles with two corners in one place.
// Strips have an even count, so every strip keeps its winding.
void SphereMesh::join_strips()
{
    for (int first = 0; first < vertex_count; first += strip_vertices) {
        if (first > 0) {
            indices[index_count++] = static_cast<unsigned short>(first - 1);
            indices[index_count++] = static_cast<unsigned short>(first);
        }
        for (int i = first; i < first + strip_vertices; ++i)
            indices[index_count++] = static_cast<unsigned short>(i);
    }
}

void SphereMesh::make_texture_coordinates(double scale_u, double scale_v, double offset_u,
                                          double offset_v)
{
    // v divides by stacks, not stacks - 1, so the top ring stops short of the
    // full scale; the texture is tiled anyway, so the seam never shows. u runs
    // on to the full scale in the closing column.
    const auto v_of = [&](int k) {
        return static_cast<float>(static_cast<float>(k) / static_cast<float>(stacks) * scale_v +
                                  offset_v);
    };
    float* coordinate = texture_coordinates;
    for (int i = 0; i + 1 < stacks; ++i) {
        const float v_upper = v_of(i + 1);
        const float v_lower = v_of(i);
        for (int s = 0; s <= slices; ++s) {
            const float u = static_cast<float>(
                static_cast<float>(s) / static_cast<float>(slices) * scale_u + offset_u);
            *coordinate++ = u;
            *coordinate++ = v_upper;
            *coordinate++ = u;
            *coordinate++ = v_lower;
        }
    }
    const double made_for[4] = {scale_u, scale_v, offset_u, offset_v};
    std::copy(made_for, made_for + 4, coordinates_made_for);
    coordinates_made = true;
}

void SphereMesh::draw(double scale_u, double scale_v, double offset_u, double offset_v)
{
    if (vertex_count == 0)
        return;
    // Pictures of one step on several monitors scroll alike.
    const double wanted[4] = {scale_u, scale_v, offset_u, offset_v};
    if (!coordinates_made || !std::equal(wanted, wanted + 4, coordinates_made_for))
        make_texture_coordinates(scale_u, scale_v, offset_u, offset_v);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, positions);
    glNormalPointer(GL_FLOAT, 0, normals);
    glTexCoordPointer(2, GL_FLOAT, 0, texture_coordinates);
    glDrawElements(GL_TRIANGLE_STRIP, index_count, GL_UNSIGNED_SHORT, indices);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}
