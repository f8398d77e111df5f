#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "common/gl.h"
#include "common/random.h"
#include "content/particle_system.h"
#include "content/point_placement.h"
#include "support/generator_replay.h"
#include "support/gl_recorder.h"
#include "support/gl_test.h"
#include "textures/texture_slot.h"
#include "views/view.h"

namespace
{

// The system scene setup makes, spawned from a known generator state.
ParticleSystem& spawned(int count)
{
    static ParticleSystem particles;
    particles = ParticleSystem();
    particles.count = count;
    particles.shape = 2;
    seed_random(11);
    particles.spawn();
    return particles;
}

int changed_components(const ParticleSystem& p, int i)
{
    return (p.velocity_x[i] != 0.0f) + (p.velocity_y[i] != 0.0f) + (p.velocity_z[i] != 0.0f);
}

View view_with_axes()
{
    View view;
    // Tilted and unequal, so that every component of both shows in the corners.
    view.camera.right[0] = 0.5f;
    view.camera.right[2] = 0.25f;
    view.camera.up[0] = 0.125f;
    view.camera.up[1] = 1.0f;
    view.camera.up[2] = 0.75f;
    return view;
}

} // namespace

class ParticleSystemTest : public GlTest
{
};

TEST(ParticleSystem, SpawnKeepsToTheArrays)
{
    EXPECT_EQ(spawned(6000).count, 5001);
    EXPECT_EQ(spawned(5001).count, 5001);
    const ParticleSystem& six = spawned(6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_GE(six.position_y[i], 0.0f); // the dome
        EXPECT_EQ(six.brightness[i], 1.0f);
        EXPECT_GE(six.red[i], 0.4f);
    }

    // One coloured particle from a known state: x, y, z, then red, green, blue.
    const std::uint32_t state =
        state_where([](auto draw) { return draw(0) < 99 && draw(3) < 3000; });
    const auto scaled = [state](long k, double x) {
        return next_draw(state_after_draws(state, k)) / 32768.0 * x;
    };
    ParticleSystem& one = spawned(1);
    one.shape = cube_shell;
    seed_random(state);
    one.spawn();
    const double span = one.white_floor;
    const double floor = one.color_floor;
    EXPECT_EQ((std::vector<float>{one.position_x[0], one.position_y[0], one.position_z[0]}),
              (std::vector<float>{float(scaled(0, 2.0) - 1.0), float(scaled(1, 2.0) - 1.0),
                                  float(scaled(2, 2.0) - 1.0)}));
    EXPECT_EQ((std::vector<float>{one.red[0], one.green[0], one.blue[0]}),
              (std::vector<float>{float(scaled(4, span) + floor), float(scaled(5, span) + floor),
                                  float(scaled(6, span) + floor)}));
}

TEST(ParticleSystem, TheRandomWalkChangesOneVelocityComponentAtATime)
{
    ParticleSystem& still = spawned(50);
    const float x = still.position_x[7];
    for (int step = 0; step < 100; ++step)
        still.update(0.0f, 0.5f);
    EXPECT_EQ(still.position_x[7], x);
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(changed_components(still, i), 0);

    ParticleSystem& busy = spawned(50);
    busy.update(1.0f, 0.5f); // dt >= 1: every particle changes a component
    for (int i = 0; i < 50; ++i) {
        ASSERT_EQ(changed_components(busy, i), 1) << i;
        ASSERT_GE(busy.velocity_x[i] + busy.velocity_y[i] + busy.velocity_z[i], -0.25f);
        ASSERT_LT(busy.velocity_x[i] + busy.velocity_y[i] + busy.velocity_z[i], 0.25f);
    }
    const float before = busy.position_z[3];
    const float speed = busy.velocity_z[3];
    busy.update(0.5f, 0.5f); // positions move first, with last step's velocity
    EXPECT_FLOAT_EQ(busy.position_z[3], before + 0.5f * speed);
}

TEST(ParticleSystem, AParticleThatReachesTheEdgeOfTheBallTurnsBack)
{
    // Unbounded, most of them would leave the sphere within seconds.
    ParticleSystem& one = spawned(1);
    one.position_x[0] = 0.6f;
    one.position_y[0] = 0.8f;
    one.position_z[0] = 0.0f;
    one.velocity_y[0] = 0.25f;
    seed_random(0); // first draw 0.0012, more than dt: the walk does not turn
    one.update(0.001f, 0.5f);
    EXPECT_NEAR(std::hypot(one.position_x[0], one.position_y[0]), 1.0f, 1e-6f);
    EXPECT_EQ(one.velocity_y[0], -0.25f);
}

TEST_F(ParticleSystemTest, QuadsFaceTheCameraUnderTheirOwnRenderState)
{
    ParticleSystem& p = spawned(2);
    p.quad_half_size = 1.2f;
    p.alpha_test = 1;
    p.alpha_reference = 0.01f;
    p.blend_source = 2;
    p.blend_destination = 3;
    p.opacity = 0.105f;
    TextureSlot slot;
    p.texture = &slot;
    GlRecording gl;
    p.draw(view_with_axes(), 1.0f);
    const auto corners = gl.named("glVertex3f");
    ASSERT_EQ(corners.size(), 8u);
    const float x = p.position_x[0];
    const float y = p.position_y[0];
    const float z = p.position_z[0];
    const View view = view_with_axes();
    const float* r = view.camera.right;
    const float* u = view.camera.up;
    // x + i times the scaled right axis + j times the scaled up axis.
    const auto corner = [&](float i, float j) {
        return gl_call("glVertex3f", {x + i * (1.2f * r[0]) + j * (1.2f * u[0]),
                                      y + i * (1.2f * r[1]) + j * (1.2f * u[1]),
                                      z + i * (1.2f * r[2]) + j * (1.2f * u[2])});
    };
    EXPECT_EQ(std::vector<GlCall>(corners.begin(), corners.begin() + 4),
              (std::vector<GlCall>{corner(-1, -1), corner(1, -1), corner(1, 1), corner(-1, 1)}));
    const auto coords = gl.named("glTexCoord2f");
    EXPECT_EQ(
        std::vector<GlCall>(coords.begin(), coords.begin() + 4),
        (std::vector<GlCall>{gl_call("glTexCoord2f", {0, 0}), gl_call("glTexCoord2f", {1, 0}),
                             gl_call("glTexCoord2f", {1, 1}), gl_call("glTexCoord2f", {0, 1})}));
    EXPECT_EQ(gl.named("glColor4f")[0].args[3], 0.105f);
    EXPECT_EQ(gl.named("glBlendFunc")[0],
              gl_call("glBlendFunc", {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}));
    const auto names = gl.outer_names();
    const std::vector<std::string> tail(names.end() - 4, names.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"glDisable", "glDisable", "glDisable", "glDisable"}));
    EXPECT_EQ(gl.all().back(), gl_call("glDisable", {GL_TEXTURE_2D}));
}

TEST_F(ParticleSystemTest, ClearFlagsAreSetOnceAndNotUndone)
{
    ParticleSystem& p = spawned(1);
    p.blend = 0;
    p.depth_test = 0;
    p.blend_source = 99; // past the table: taken as its last entry
    GlRecording gl;
    p.draw(view_with_axes(), 1.0f);
    EXPECT_EQ(gl.all().front(), gl_call("glDisable", {GL_ALPHA_TEST}));
    EXPECT_EQ(gl.named("glDisable"), (std::vector<GlCall>{gl_call("glDisable", {GL_ALPHA_TEST}),
                                                          gl_call("glDisable", {GL_BLEND}),
                                                          gl_call("glDisable", {GL_DEPTH_TEST})}));
    EXPECT_TRUE(gl.named("glEnable").empty()); // no texture: texturing untouched

    p.blend = 1;
    gl.clear();
    p.draw(view_with_axes(), 1.0f);
    EXPECT_EQ(gl.named("glBlendFunc")[0], gl_call("glBlendFunc", {GL_SRC_ALPHA_SATURATE, GL_ZERO}));

    p.count = 0;
    gl.clear();
    p.draw(view_with_axes(), 1.0f);
    EXPECT_TRUE(gl.named("glBegin").empty());
}

TEST_F(ParticleSystemTest, ACountSetPastTheArraysMovesAndDrawsOnlyWhatTheyHold)
{
    static ParticleSystem full;
    full = spawned(max_particles);
    ParticleSystem& over = spawned(max_particles);
    over.count = max_particles + 999;

    seed_random(5);
    full.update(1.0f, 0.5f);
    const std::uint32_t after_full = random_state();
    seed_random(5);
    over.update(1.0f, 0.5f);
    EXPECT_EQ(random_state(), after_full); // no draws for particles that do not exist
    for (int i = 0; i < max_particles; ++i) {
        ASSERT_EQ(over.red[i], full.red[i]) << i;
        ASSERT_EQ(over.brightness[i], full.brightness[i]) << i;
        ASSERT_EQ(over.position_y[i], full.position_y[i]) << i;
    }

    GlRecording gl;
    over.draw(view_with_axes(), 1.0f);
    EXPECT_EQ(gl.named("glBegin").size(), static_cast<std::size_t>(max_particles));
}
