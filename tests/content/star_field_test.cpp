#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/gl.h"
#include "common/random.h"
#include "content/point_placement.h"
#include "content/star_field.h"
#include "support/generator_replay.h"
#include "support/gl_recorder.h"
#include "support/gl_test.h"
#include "views/view.h"

namespace
{

// From the centre to a recorded glVertex3d.
double squared_distance(const GlCall& point)
{
    const std::vector<double>& p = point.args;
    return p[0] * p[0] + p[1] * p[1] + p[2] * p[2];
}

} // namespace

class StarFieldTest : public GlTest
{
};

TEST_F(StarFieldTest, TheListHoldsCountOverLayersPointsDrawnInTurnedCopies)
{
    StarField stars;
    stars.count = 666;
    stars.layers = 2;
    stars.shape = 2;
    stars.outer_size = 3.0;
    GlRecording gl;
    stars.build();
    ASSERT_NE(stars.list, 0u);
    EXPECT_EQ(gl.named("glBegin"), std::vector<GlCall>{gl_call("glBegin", {GL_POINTS})});
    EXPECT_EQ(gl.named("glVertex3d").size(), 333u);
    EXPECT_EQ(gl.named("glColor3d").size(), 333u);
    for (const GlCall& point : gl.named("glVertex3d")) { // the dome: y >= 0, within sqrt(1.5)
        const double d = std::sqrt(squared_distance(point));
        ASSERT_GE(point.args[1], 0.0);
        ASSERT_GE(d, 0.01 - 1e-6);
        ASSERT_LE(d, std::sqrt(1.5) + 1e-6);
    }

    stars.layers = 3;
    gl.clear();
    stars.draw(View());
    EXPECT_EQ(gl.named("glRotatef"),
              (std::vector<GlCall>(3, gl_call("glRotatef", {120, 0, 1, 0}))));
    EXPECT_EQ(gl.named("glPointSize"),
              (std::vector<GlCall>{gl_call("glPointSize", {1}), gl_call("glPointSize", {2}),
                                   gl_call("glPointSize", {3})}));
    EXPECT_EQ(gl.named("glCallList").size(), 3u);
    EXPECT_EQ(gl.all().back(), gl_call("glDisable", {GL_BLEND}));

    const GLuint list = stars.list;
    stars.release();
    EXPECT_FALSE(glIsList(list));
    gl.clear();
    stars.draw(View());
    EXPECT_TRUE(gl.all().empty());

    // One star: x, y and z, whether it is coloured, then blue, green and red.
    // A low first draw puts x on the cube's face at the first try.
    const std::uint32_t state =
        state_where([](auto draw) { return draw(0) < 99 && draw(3) < 3000; });
    const auto scaled = [state](long k, double x) {
        return next_draw(state_after_draws(state, k)) / 32768.0 * x;
    };
    seed_random(state);
    stars.count = 2;
    stars.layers = 2;
    stars.shape = cube_shell;
    gl.clear();
    stars.build();
    const auto coordinate = [&](long k) { return (float(scaled(k, 2.0)) - 1.0f) * 1.5f; };
    EXPECT_EQ(gl.named("glVertex3d"),
              (std::vector<GlCall>{
                  gl_call("glVertex3d", {coordinate(0), coordinate(1), coordinate(2)})}));
    EXPECT_EQ(gl.named("glColor3d"),
              (std::vector<GlCall>{gl_call("glColor3d", {scaled(6, 0.7) + 0.3, scaled(5, 0.7) + 0.3,
                                                         scaled(4, 0.7) + 0.3})}));
}

TEST_F(StarFieldTest, NothingIsDrawnBeforeABuild)
{
    StarField stars;
    GlRecording gl;
    stars.draw(View());
    stars.release();
    EXPECT_TRUE(gl.all().empty());
}

TEST_F(StarFieldTest, FollowingTheCameraCancelsItsTranslation)
{
    StarField stars;
    stars.follow_camera = 1;
    stars.depth_test = 1;
    stars.build();
    View view;
    view.camera.body.position.set(0.1f, 0.2f, 0.3f);
    GlRecording gl;
    stars.draw(view);
    EXPECT_EQ(gl.named("glTranslatef"),
              std::vector<GlCall>{gl_call("glTranslatef", {0.1f, 0.2f, -0.3f})});
    EXPECT_EQ(gl.all().back(), gl_call("glDisable", {GL_DEPTH_TEST}));
}

TEST_F(StarFieldTest, TheCoreIsCutToFitAndImpossibleShellsStillEnd)
{
    StarField stars;
    stars.shape = 2;
    stars.outer_size = 2.0;
    stars.inner_size = 2.0;
    stars.count = 200;
    GlRecording gl;
    stars.build();
    EXPECT_DOUBLE_EQ(stars.inner_size, 1.8);
    for (const GlCall& point : gl.named("glVertex3d")) { // rin 0.91, half 1.0
        const double d2 = squared_distance(point);
        ASSERT_GE(d2, 0.91f * 0.91f - 1e-6);
        ASSERT_LE(d2, 1.0 + 1e-6);
    }

    // A cube shell whose core fills it admits no point: the build ends all
    // the same, with what it could place.
    stars.shape = 1;
    stars.outer_size = 0.01;
    stars.inner_size = 0.009;
    gl.clear();
    stars.build();
    EXPECT_EQ(gl.named("glVertex3d").size(), 0u);
    EXPECT_EQ(gl.outer_names().back(), "glEndList");

    // A cube shell keeps its points off the core cube, on any of the axes.
    stars.outer_size = 2.0;
    stars.inner_size = 1.6;
    gl.clear();
    stars.build();
    EXPECT_EQ(gl.named("glVertex3d").size(), 200u);
    for (const GlCall& point : gl.named("glVertex3d")) {
        const auto& p = point.args;
        const double reach = std::max({std::abs(p[0]), std::abs(p[1]), std::abs(p[2])});
        ASSERT_GE(reach, 0.81f);
        ASSERT_LE(reach, 1.0);
    }

    stars.layers = 0; // would divide by zero: drawn as one copy
    gl.clear();
    stars.draw(View());
    EXPECT_EQ(gl.named("glCallList").size(), 1u);
}
