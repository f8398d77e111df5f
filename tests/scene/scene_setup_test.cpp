#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "common/frame_clock.h"
#include "common/gl.h"
#include "common/random.h"
#include "content/drifter.h"
#include "content/particle_system.h"
#include "content/point_placement.h"
#include "content/scene_switches.h"
#include "content/sphere_mesh.h"
#include "content/star_field.h"
#include "scene/frame_driver.h"
#include "scene/scene_settings.h"
#include "scene/scene_setup.h"
#include "support/generator_replay.h"
#include "support/gl_test.h"
#include "textures/texture_slot.h"
#include "views/view_manager.h"

class SceneSetupTest : public GlTest
{
};

TEST_F(SceneSetupTest, FixesTheSceneViewTheSwitchesAndTheSphereTexture)
{
    set_test_clock(0);
    scene_setup();
    EXPECT_EQ(view_manager.view_count, 2);
    EXPECT_FLOAT_EQ(view_manager.band_fraction, 0.2f);
    EXPECT_FLOAT_EQ(view_manager.background_alpha, 0.2f);
    const View& view = view_manager.views[1];
    EXPECT_EQ(view.between_bands, 1);
    EXPECT_EQ(view.camera.fov, 80.0);
    EXPECT_EQ(view.camera.near_plane, 0.01f);
    EXPECT_EQ(view.camera.far_plane, 4.0f);
    EXPECT_EQ(view.camera.eye_distance, 0.0f);

    // Seen from inside, the sphere covers its view once: no depth is kept
    // unless a layer that is drawn with it is on. The camera stays inside,
    // each position drifter within 0.35 of the centre: at most 0.61 away, so
    // the sphere of radius 1 always lies beyond the near plane all round.
    const SceneSwitches& on = scene_switches;
    EXPECT_EQ(on.scene_pass_on + on.lighting_on + on.texture_on, 3);
    EXPECT_EQ(on.depth_test_on + view_manager.depth_clear_on, 0);
    EXPECT_EQ(on.backdrop_overlay_on + on.modulate_overlay_on + on.blend_on + on.cull_on +
                  on.fog_on + on.stars_on + on.particles_on,
              0);
    double farthest = 0.0;
    for (const Drifter* d : {&drift_pos_x, &drift_pos_y, &drift_pos_z})
        farthest += std::max(std::abs(d->offset), std::abs(d->offset + d->range)) *
                    std::max(std::abs(d->offset), std::abs(d->offset + d->range));
    EXPECT_LT(std::sqrt(farthest), 0.61);
    EXPECT_EQ(scene_sphere.vertex_count, 17 * 42);

    const TextureSlot& sphere = texture_slots[9];
    EXPECT_NE(sphere.gl_name, 0u);
    EXPECT_EQ(sphere.width, 256);
    EXPECT_EQ(sphere.height, 256);
    EXPECT_EQ(sphere.registry_index, 0);
    EXPECT_STREQ(texture_names[0], "FLECK");
    EXPECT_EQ(texture_count, 1);
    EXPECT_EQ(texture_slots[0].gl_name, 0u);

    // Until the first step the drifters stand at the top of their ranges.
    EXPECT_FLOAT_EQ(static_cast<float>(drift_pos_x.value()), 0.35f);
    EXPECT_DOUBLE_EQ(drift_rot_x.value(), 180.0);
    EXPECT_DOUBLE_EQ(drift_band.value(), 0.25);

    // Speed, shared scale, range and offset of each drifter.
    const struct {
        const Drifter& d;
        double speed, scale, range, offset;
    } drifters[] = {
        {drift_pos_x, 0.1, 1.8, 0.7f, 0.7f * -0.5f},  {drift_pos_y, 0.11, 1.8, 0.7f, 0.7f * -0.5f},
        {drift_pos_z, 0.14, 1.8, 0.7f, 0.7f * -0.5f}, {drift_rot_x, 0.02, 1.2, 360, -180},
        {drift_rot_y, 0.022, 1.2, 360, -180},         {drift_rot_z, 0.028, 1.2, 360, -180},
        {drift_spare, 0.3, 1.0, 0.5, 0.15},           {drift_band, 0.1, 1.0, 0.25, 0.0}};
    int serial = 0; // numbered in the order they are built
    for (const auto& e : drifters) {
        EXPECT_EQ(e.d.serial, serial++);
        EXPECT_EQ(e.d.speed, e.speed) << e.d.serial;
        ASSERT_NE(e.d.speed_multiplier, nullptr);
        EXPECT_EQ(*e.d.speed_multiplier, e.scale) << e.d.serial;
        EXPECT_EQ(e.d.range, e.range) << e.d.serial;
        EXPECT_EQ(e.d.offset, e.offset) << e.d.serial;
    }
    EXPECT_EQ(drift_pos_x.speed_multiplier, drift_pos_z.speed_multiplier); // one shared scale

    // With a layer drawn with the sphere, depth is kept as before.
    for (bool SceneSettings::*layer : {&SceneSettings::stars, &SceneSettings::particles}) {
        scene_settings = SceneSettings();
        scene_settings.*layer = true;
        scene_setup();
        EXPECT_EQ(on.depth_test_on + view_manager.depth_clear_on, 2);
    }
    scene_settings = SceneSettings();
}

TEST_F(SceneSetupTest, TheSwitchedOffLayersAreReadyToBeSwitchedOn)
{
    set_test_clock(0);
    scene_setup();
    setup_star_field();
    const StarField& s = scene_stars;
    EXPECT_EQ(s.count, 666); // a third while the fill is translucent
    EXPECT_EQ(s.layers, 2);
    EXPECT_EQ(s.outer_size, 3.0);
    EXPECT_EQ(s.inner_size, 0.0);
    EXPECT_EQ(s.shape, int(dome));
    EXPECT_EQ((std::vector<int>{s.blend, s.depth_test, s.depth_write, s.follow_camera, s.fog}),
              (std::vector<int>{1, 0, 0, 1, 0}));
    EXPECT_EQ(s.color_floor, 0.2);
    EXPECT_EQ(s.white_floor, 0.8);

    setup_particles();
    const ParticleSystem& p = scene_particles;
    EXPECT_EQ(p.count, 6);
    EXPECT_EQ(p.outer_size, 2.0f);
    EXPECT_EQ(p.inner_size, 0.0f);
    EXPECT_EQ(p.opacity, 0.105f);
    EXPECT_EQ(p.alpha_reference, 0.01f);
    EXPECT_EQ(p.quad_half_size, 1.2f);
    EXPECT_EQ((std::vector<int>{p.alpha_test, p.blend, p.blend_source, p.blend_destination,
                                p.depth_test, p.depth_write, p.fog, p.shape}),
              (std::vector<int>{1, 1, 2, 3, 0, 0, 1, int(dome)}));
    EXPECT_EQ(p.texture, &texture_slots[0]);
    EXPECT_EQ(p.brightness[5], 1.0f); // spawned
}

TEST_F(SceneSetupTest, SeedsFromTheClockReadingPlusTheStarFieldAddress)
{
    set_test_clock(1234);
    scene_settings.speed_percent = 25;
    scene_setup();
    EXPECT_EQ(frame_clock.elapsed_ms, 1234.0);
    EXPECT_DOUBLE_EQ(frame_clock.now, 1.234 / 4); // a quarter speed slows, never stops
    scene_settings = SceneSettings();
    const auto seed = static_cast<std::uint32_t>(
        1234u + static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&scene_stars)));
    // The texture's 65,536 draws are the first after the seed.
    EXPECT_EQ(random_state(), state_after_draws(seed, 256 * 256));
}

TEST_F(SceneSetupTest, TheRotationPairStepsYBeforeX)
{
    set_test_clock(0);
    scene_setup();
    // A state whose first three draws keep the position drifters resting and
    // whose fourth, a zero, starts a ramp in whichever drifter steps fourth.
    std::uint32_t state = 0;
    for (;; ++state) {
        if (next_draw(state) >= 4 && next_draw(state_after_draws(state, 1)) >= 4 &&
            next_draw(state_after_draws(state, 2)) >= 4 &&
            next_draw(state_after_draws(state, 3)) == 0)
            break;
    }
    seed_random(state);
    frame_clock.delta = 0.01;
    step_scene_drifters();
    EXPECT_LT(drift_rot_y.level_velocity, 0.0);
    EXPECT_EQ(drift_rot_x.level_velocity, 0.0);
    EXPECT_EQ(drift_pos_z.level_velocity, 0.0);
    EXPECT_FLOAT_EQ(view_manager.background_alpha, 1.0f);
    EXPECT_EQ(view_manager.band_fraction, static_cast<float>(drift_band.value()));
    EXPECT_EQ(scene_band_fraction, drift_band.value());
    EXPECT_GT(drift_band.phase, 0.0009); // stepped too

    // Switched on, the particles walk with the frame's interval.
    scene_switches.particles_on = 1;
    scene_particles.count = 1;
    frame_clock.delta = 1.0; // a second: every particle changes its velocity
    step_scene_drifters();
    EXPECT_NE(std::abs(scene_particles.velocity_x[0]) + std::abs(scene_particles.velocity_y[0]) +
                  std::abs(scene_particles.velocity_z[0]),
              0.0f);
}

// The camera's drift and the sphere's scroll over one second of frames.
double motion_in_a_second()
{
    set_test_clock(0);
    fix_scene_seed(7);
    start_scene(64, 64);
    const auto where = [] {
        double sum = scene_sphere.coordinates_made_for[2] + scene_sphere.coordinates_made_for[3];
        for (const Drifter* d :
             {&drift_pos_x, &drift_pos_y, &drift_pos_z, &drift_rot_x, &drift_rot_y})
            sum += d->phase;
        return sum;
    };
    step_frame();
    draw_picture({0, 0, 64, 64});
    const double before = where();
    for (int ms = 10; ms <= 1000; ms += 10) {
        set_test_clock(ms);
        step_frame();
        draw_picture({0, 0, 64, 64});
    }
    return where() - before;
}

// Gentle motion, and checks, grid lines and noise, which flash when they go fast.
TEST_F(SceneSetupTest, GentleMotionAndHardEdgedTexturesHaveATopSpeed)
{
    const double full = motion_in_a_second();
    ASSERT_GT(full, 0.0);
    const struct {
        int motion, speed, texture;
        bool desktop_wish;
        double most; // of full motion's
    } cases[] = {
        {motion_gentle, 400, FLECK, false, 0.25}, {motion_as_desktop, 400, FLECK, true, 0.25},
        {motion_full, 100, FLECK, true, 1.0},     {motion_as_desktop, 400, SPHERE, false, 4.0},
        {motion_full, 400, CHECK, false, 1.0},    {motion_full, 400, FLECK, false, 2.0},
        {motion_gentle, 400, CHECK, false, 0.25}};
    for (const auto& c : cases) {
        scene_settings.motion = c.motion;
        scene_settings.speed_percent = c.speed;
        scene_settings.texture = c.texture;
        scene_settings.desktop_wants_less_motion = c.desktop_wish;
        const double moved = motion_in_a_second();
        EXPECT_LE(moved, full * c.most * 1.0001) << c.motion << " " << c.speed;
        EXPECT_GE(moved, full * c.most * 0.5) << c.motion << " " << c.speed;
    }
    scene_settings = SceneSettings();
}

// A wallpaper's new day brings checks to a glow at four times the speed:
// it goes on from where it is, at the checks' top speed.
TEST_F(SceneSetupTest, ANewTextureWithATopSpeedSlowsTheSceneWithoutAJump)
{
    scene_settings.speed_percent = 400;
    scene_settings.texture = SPHERE;
    set_test_clock(0);
    fix_scene_seed(7);
    start_scene(64, 64);
    set_test_clock(1000);
    step_frame();
    EXPECT_DOUBLE_EQ(frame_clock.now, 4.0);
    change_scene_texture(CHECK);
    set_test_clock(1010);
    step_frame();
    EXPECT_DOUBLE_EQ(frame_clock.now, 4.01);
    EXPECT_NEAR(frame_clock.delta, 0.01, 1e-12);
    scene_settings = SceneSettings();
}
