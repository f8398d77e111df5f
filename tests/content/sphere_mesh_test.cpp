#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "common/gl.h"
#include "content/sphere_mesh.h"
#include "support/gl_recorder.h"
#include "support/gl_test.h"

namespace
{

double address(const void* p)
{
    return static_cast<double>(reinterpret_cast<std::uintptr_t>(p));
}

} // namespace

class SphereMeshTest : public GlTest
{
};

// The arrays go to GL by their address, and the bands between the rings go
// as one strip.
TEST_F(SphereMeshTest, TheBandsGoInOneCallFromTheMeshsOwnArrays)
{
    SphereMesh& mesh = scene_sphere;
    mesh.build(1.0, 20, 18);
    GlRecording gl;
    mesh.draw(4.0, 4.0, 0.0, 0.0);
    std::vector<GlCall> expected = {
        gl_call("glEnableClientState", {GL_VERTEX_ARRAY}),
        gl_call("glEnableClientState", {GL_NORMAL_ARRAY}),
        gl_call("glEnableClientState", {GL_TEXTURE_COORD_ARRAY}),
        gl_call("glVertexPointer", {3, GL_FLOAT, 0, address(mesh.positions)}),
        gl_call("glNormalPointer", {GL_FLOAT, 0, address(mesh.normals)}),
        gl_call("glTexCoordPointer", {2, GL_FLOAT, 0, address(mesh.texture_coordinates)}),
        gl_call("glDrawElements",
                {GL_TRIANGLE_STRIP, 17 * 42 + 16 * 2, GL_UNSIGNED_SHORT, address(mesh.indices)})};
    for (GLenum array : {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY})
        expected.push_back(gl_call("glDisableClientState", {static_cast<double>(array)}));
    EXPECT_EQ(gl.all(), expected);
}

// The joined strip draws exactly the triangles of the separate strips, in
// their order and winding; every other triangle has two corners in one place.
TEST_F(SphereMeshTest, TheJoinsAddOnlyTrianglesWithoutArea)
{
    using Triangle = std::array<int, 3>;
    const auto strip_triangles = [](const unsigned short* index, int count, int from,
                                    std::vector<Triangle>& out) {
        for (int i = 0; i + 2 < count; ++i) {
            const int a = index[i], b = index[i + 1], c = index[i + 2];
            if (a != b && b != c && a != c)
                out.push_back((from + i) % 2 ? Triangle{b, a, c} : Triangle{a, b, c});
        }
    };
    for (const int stacks : {3, 18, 100}) {
        SphereMesh& mesh = scene_sphere;
        mesh.build(1.0, 20, stacks);
        std::vector<Triangle> joined;
        strip_triangles(mesh.indices, mesh.index_count, 0, joined);
        std::vector<Triangle> separate;
        std::vector<unsigned short> strip(mesh.strip_vertices);
        for (int first = 0; first < mesh.vertex_count; first += mesh.strip_vertices) {
            for (int i = 0; i < mesh.strip_vertices; ++i)
                strip[i] = static_cast<unsigned short>(first + i);
            strip_triangles(strip.data(), mesh.strip_vertices, 0, separate);
        }
        EXPECT_EQ(joined, separate) << stacks;
        EXPECT_EQ(joined.size(), static_cast<std::size_t>((stacks - 1) * 40)) << stacks;
    }
}

TEST_F(SphereMeshTest, RequestsOutsideThreeToOneHundredDrawNothing)
{
    SphereMesh& mesh = scene_sphere;
    GlRecording gl;
    for (int bad : {2, 101}) {
        mesh.build(1.0, bad, 10);
        mesh.draw(1.0, 1.0, 0.0, 0.0);
        mesh.build(1.0, 10, bad);
        mesh.draw(1.0, 1.0, 0.0, 0.0);
    }
    EXPECT_TRUE(gl.all().empty());
    mesh.build(1.0, 100, 100);
    mesh.draw(1.0, 1.0, 0.0, 0.0);
    EXPECT_EQ(gl.named("glDrawElements").size(), 1u);
    EXPECT_EQ(mesh.vertex_count, SphereMesh::most_vertices);
    EXPECT_EQ(mesh.index_count, SphereMesh::most_indices);
}

TEST_F(SphereMeshTest, ThreeStacksRunFromPoleToPoleWithVInThirds)
{
    SphereMesh& mesh = scene_sphere;
    mesh.build(1.0, 20, 18);
    mesh.draw(1.0, 3.0, 0.5, 0.25); // the same scroll on another mesh: made anew below
    mesh.build(2.0, 4, 3);
    mesh.draw(1.0, 3.0, 0.5, 0.25);
    ASSERT_EQ(mesh.vertex_count, 20);
    const float* y = &mesh.positions[1];
    const float* uv = mesh.texture_coordinates;
    // The first strip pairs the equator (ring 1) with the bottom pole (ring 0).
    EXPECT_NEAR(y[0], 0.0, 1e-6);
    EXPECT_NEAR(y[3], -2.0, 1e-6);
    EXPECT_NEAR(y[30], 2.0, 1e-6); // the top pole starts strip two
    EXPECT_FLOAT_EQ(uv[3], 0.25f);
    EXPECT_FLOAT_EQ(uv[1], 1.0f + 0.25f);
    EXPECT_FLOAT_EQ(uv[21], 2.0f + 0.25f);

    // The last column repeats the first exactly, one full scale further in u.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(mesh.positions[24 + i], mesh.positions[i]);
        EXPECT_EQ(mesh.normals[24 + i], mesh.normals[i]);
    }
    EXPECT_FLOAT_EQ(uv[16] - uv[0], 1.0f);
    mesh.draw(1.0, 3.0, 0.75, 0.25); // a later frame: only the texture moves
    EXPECT_FLOAT_EQ(uv[0], 0.75f);
    EXPECT_NEAR(y[30], 2.0, 1e-6);
}
