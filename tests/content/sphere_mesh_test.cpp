#include <gtest/gtest.h>

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

// The arrays go to GL by their address, and each band between two rings is
// one strip with a closing column.
TEST_F(SphereMeshTest, EachBandIsOneStripFromTheMeshsOwnArrays)
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
        gl_call("glTexCoordPointer", {2, GL_FLOAT, 0, address(mesh.texture_coordinates)})};
    for (int strip = 0; strip < 17; ++strip)
        expected.push_back(gl_call("glDrawArrays", {GL_TRIANGLE_STRIP, strip * 42.0, 42}));
    for (GLenum array : {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY})
        expected.push_back(gl_call("glDisableClientState", {static_cast<double>(array)}));
    EXPECT_EQ(gl.all(), expected);
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
    EXPECT_EQ(gl.named("glDrawArrays").size(), 99u);
    EXPECT_EQ(mesh.vertex_count, SphereMesh::most_vertices);
}

TEST_F(SphereMeshTest, ThreeStacksRunFromPoleToPoleWithVInThirds)
{
    SphereMesh& mesh = scene_sphere;
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
