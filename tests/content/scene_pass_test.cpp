#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "common/frame_clock.h"
#include "common/gl.h"
#include "content/light.h"
#include "content/particle_system.h"
#include "content/scene_pass.h"
#include "content/scene_switches.h"
#include "content/sphere_mesh.h"
#include "content/star_field.h"
#include "support/gl_recorder.h"
#include "support/gl_test.h"

namespace
{

void set_setup_switches()
{
    scene_switches.depth_test_on = 1;
    scene_switches.lighting_on = 1;
    scene_switches.texture_on = 1;
}

} // namespace

class ScenePassTest : public GlTest
{
};

TEST_F(ScenePassTest, TheSphereStateFollowsTheSwitchesAndIsClearedAfterwards)
{
    set_setup_switches();
    GlRecording gl;
    apply_sphere_state();
    EXPECT_EQ(gl.all(), (std::vector<GlCall>{
                            gl_call("glDisable", {GL_BLEND}), gl_call("glDisable", {GL_CULL_FACE}),
                            gl_call("glEnable", {GL_DEPTH_TEST}), gl_call("glDepthMask", {GL_TRUE}),
                            gl_call("glDisable", {GL_FOG}), gl_call("glEnable", {GL_LIGHTING}),
                            gl_call("glEnable", {GL_TEXTURE_2D})}));
    gl.clear();
    clear_sphere_state();
    EXPECT_EQ(gl.all(), (std::vector<GlCall>{gl_call("glDisable", {GL_DEPTH_TEST}),
                                             gl_call("glDisable", {GL_LIGHTING}),
                                             gl_call("glDisable", {GL_TEXTURE_2D})}));

    SceneSwitches& on = scene_switches;
    on.blend_on = on.cull_on = on.fog_on = 1; // with the three set up above: all six
    gl.clear();
    clear_sphere_state();
    EXPECT_EQ(gl.all(),
              (std::vector<GlCall>{
                  gl_call("glDisable", {GL_BLEND}), gl_call("glDisable", {GL_CULL_FACE}),
                  gl_call("glDisable", {GL_DEPTH_TEST}), gl_call("glDisable", {GL_FOG}),
                  gl_call("glDisable", {GL_LIGHTING}), gl_call("glDisable", {GL_TEXTURE_2D})}));

    scene_switches = SceneSwitches{};
    scene_switches.blend_on = 1;
    gl.clear();
    apply_sphere_state();
    EXPECT_EQ(gl.all()[0], gl_call("glBlendFunc", {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}));
    EXPECT_EQ(gl.all()[1], gl_call("glEnable", {GL_BLEND}));
    EXPECT_EQ(gl.all()[3], gl_call("glDisable", {GL_DEPTH_TEST}));
}

TEST_F(ScenePassTest, StarsSphereAndParticlesInTurnEachFoggedOnlyIfItAsks)
{
    set_setup_switches();
    scene_switches.stars_on = scene_switches.particles_on = scene_switches.fog_on = 1;
    scene_stars.fog = 0;
    scene_stars.build();
    scene_particles.count = 3;
    scene_particles.fog = 1;
    scene_particles.spawn();
    scene_sphere.build(1.0, 20, 18);
    GlRecording gl;
    draw_scene_pass();
    // What each step leaves: the stars' list, the sphere's strips, the particles' quads.
    std::string steps;
    for (const GlCall& c : gl.outer()) {
        if (c.name == "glCallList" || (c.name == "glBegin" && c.args[0] == GL_QUADS))
            steps += c.name == "glCallList" ? "S" : "P";
        else if (c.name == "glDrawElements" && (steps.empty() || steps.back() != 'O'))
            steps += "O";
        else if (c.args.size() == 1 && c.args[0] == GL_FOG)
            steps += c.name == "glEnable" ? "+" : "-";
    }
    EXPECT_EQ(steps, "S-+O-+PPP-"); // no marker: the light stands outside, never seen
}

TEST_F(ScenePassTest, TheLightMovesAndShowsOnlyWhileLightingIsOn)
{
    set_setup_switches();
    scene_sphere.build(1.0, 20, 18);
    GlRecording gl;
    draw_sphere_step(); // the clock stands at 0: the light is at (0, 0, 2)
    EXPECT_EQ(gl.named("glLightfv")[0], gl_call("glLightfv", {GL_LIGHT0, GL_POSITION, 0, 0, 2, 1}));
    EXPECT_EQ(gl.named("glDrawElements").size(), 1u);
    EXPECT_EQ(gl.named("glColor4f"), std::vector<GlCall>{gl_call("glColor4f", {1, 1, 1, 1})});

    // Ten seconds on: the light has circled on, and the sphere's texture, four
    // times round and four times up, has scrolled by 0.15 and 1.11 x 0.15 a second.
    frame_clock.now = 10.0;
    gl.clear();
    draw_sphere_step();
    EXPECT_EQ(gl.named("glLightfv")[0],
              gl_call("glLightfv", {GL_LIGHT0, GL_POSITION, float(std::sin(2.0) * 2),
                                    float(std::sin(0.4) * 2), float(std::cos(2.0) * 2), 1}));
    const float* uv = scene_sphere.texture_coordinates;
    EXPECT_NEAR(uv[0], 0.5, 1e-5);
    EXPECT_NEAR(uv[1], 4.0 / 18 + std::fmod(1.665, 1.0), 1e-5);
    EXPECT_NEAR(uv[80], 4.5, 1e-5);

    scene_switches.lighting_on = 0;
    scene_light.position.set(5.0f, 5.0f, 5.0f);
    gl.clear();
    draw_sphere_step();
    EXPECT_TRUE(gl.named("glLightfv").empty());
    EXPECT_EQ(gl.named("glDrawElements").size(), 1u);
    EXPECT_EQ(scene_light.position.x, 5.0f);
    EXPECT_EQ(gl.named("glEnable"), (std::vector<GlCall>{gl_call("glEnable", {GL_DEPTH_TEST}),
                                                         gl_call("glEnable", {GL_TEXTURE_2D})}));
}
