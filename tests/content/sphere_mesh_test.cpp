#include <gtest/gtest.h>

#include <vector>

#include "common/gl.h"
#include "content/sphere_mesh.h"
#include "support/gl_recorder.h"
#include "support/gl_test.h"

namespace
{

struct Strips {
    int count = 0;
    std::vector<int> vertices;
};

Strips strips_of(const GlRecording& gl)
{
    Strips strips;
    for (const GlCall& call : gl.all()) {
        if (call.name == "glBegin") {
            EXPECT_EQ(call.args[0], GL_TRIANGLE_STRIP);
            ++strips.count;
            strips.vertices.push_back(0);
        } else if (call.name == "glVertex3d") {
            ++strips.vertices.back();
        }
    }
    return strips;
}

} // namespace

class SphereMeshTest : public GlTest
{
};

TEST_F(SphereMeshTest, EachBandIsOneStripWithAClosingColumn)
{
    GlRecording gl;
    draw_sphere_mesh(1.0, 20, 18, 4.0, 4.0, 0.0, 0.0);
    const Strips sphere = strips_of(gl);
    EXPECT_EQ(sphere.count, 17);
    EXPECT_EQ(sphere.vertices, std::vector<int>(17, 42));

    gl.clear();
    draw_sphere_mesh(0.03, 10, 10, 1.0, 1.0, 0.0, 0.0);
    const Strips marker = strips_of(gl);
    EXPECT_EQ(marker.count, 9);
    EXPECT_EQ(marker.vertices, std::vector<int>(9, 22));
}

TEST_F(SphereMeshTest, RequestsOutsideThreeToOneHundredDrawNothing)
{
    GlRecording gl;
    draw_sphere_mesh(1.0, 2, 10, 1.0, 1.0, 0.0, 0.0);
    draw_sphere_mesh(1.0, 10, 2, 1.0, 1.0, 0.0, 0.0);
    draw_sphere_mesh(1.0, 101, 10, 1.0, 1.0, 0.0, 0.0);
    draw_sphere_mesh(1.0, 10, 101, 1.0, 1.0, 0.0, 0.0);
    EXPECT_TRUE(gl.all().empty());
    draw_sphere_mesh(1.0, 3, 3, 1.0, 1.0, 0.0, 0.0);
    draw_sphere_mesh(1.0, 100, 100, 1.0, 1.0, 0.0, 0.0);
    EXPECT_EQ(gl.named("glBegin").size(), 2u + 99u);
}

TEST_F(SphereMeshTest, ThreeStacksRunFromPoleToPoleWithVInThirds)
{
    GlRecording gl;
    draw_sphere_mesh(2.0, 4, 3, 1.0, 3.0, 0.5, 0.25);
    const auto vertices = gl.named("glVertex3d");
    const auto coords = gl.named("glTexCoord2f");
    ASSERT_EQ(vertices.size(), 20u);
    // The first strip pairs the equator (ring 1) with the bottom pole (ring 0).
    EXPECT_NEAR(vertices[0].args[1], 0.0, 1e-6);
    EXPECT_NEAR(vertices[1].args[1], -2.0, 1e-6);
    EXPECT_NEAR(vertices[10].args[1], 2.0, 1e-6); // the top pole starts strip two
    EXPECT_FLOAT_EQ(static_cast<float>(coords[1].args[1]), 0.25f);
    EXPECT_FLOAT_EQ(static_cast<float>(coords[0].args[1]), 1.0f + 0.25f);
    EXPECT_FLOAT_EQ(static_cast<float>(coords[10].args[1]), 2.0f + 0.25f);

    // The last column repeats the first exactly, one full scale further in u.
    const auto normals = gl.named("glNormal3f");
    EXPECT_EQ(vertices[8].args, vertices[0].args);
    EXPECT_EQ(normals[8].args, normals[0].args);
    EXPECT_FLOAT_EQ(static_cast<float>(coords[8].args[0] - coords[0].args[0]), 1.0f);
}
