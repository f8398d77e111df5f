#include "scene/scene_setup.h"

#include <cstdint>
#include <initializer_list>

#include "common/frame_clock.h"
#include "common/gl.h"
#include "common/random.h"
#include "content/drifter.h"
#include "content/fog.h"
#include "content/light.h"
#include "content/light_material.h"
#include "content/particle_system.h"
#include "content/point_placement.h"
#include "content/scene_switches.h"
#include "content/sphere_mesh.h"
#include "content/star_field.h"
#include "scene/frame_driver.h"
#include "scene/scene_settings.h"
#include "textures/texture_kind.h"
#include "textures/texture_slot.h"
#include "views/view_manager.h"

double scene_scale = 1.0;
double scene_band_fraction = 0.0;
double position_drift_scale = 0.0;
double rotation_drift_scale = 0.0;
double unit_drift_scale = 0.0;

namespace
{

bool seed_is_fixed = false;
std::uint32_t fixed_seed = 0;

void configure(Drifter& drifter, double speed, const double* multiplier, double range,
               double offset)
{
    drifter.speed = speed;
    drifter.speed_multiplier = multiplier;
    drifter.range = range;
    drifter.offset = offset;
}

void set_switches()
{
    SceneSwitches& on = scene_switches;
    on.backdrop_overlay_on = scene_settings.overlays ? 1 : 0;
    on.scene_pass_on = 1;
    on.modulate_overlay_on = scene_settings.overlays ? 1 : 0;
    on.blend_on = 0;
    on.cull_on = 0;
    // Seen from inside, the closed sphere covers every pixel of its view once:
    // depth matters only to the layers drawn with it.
    on.depth_test_on = scene_settings.stars || scene_settings.particles ? 1 : 0;
    on.fog_on = 0;
    on.lighting_on = 1;
    on.stars_on = scene_settings.stars ? 1 : 0;
    on.particles_on = scene_settings.particles ? 1 : 0;
    on.texture_on = 1;
}

void configure_drifters()
{
    position_drift_scale = 1.8;
    rotation_drift_scale = 1.2;
    unit_drift_scale = 1.0;
    // Centred on 0: range and offset both come from the single-precision 0.7.
    const float r = 0.7f;
    const float centred = r * -0.5f;
    configure(drift_pos_x, 0.1, &position_drift_scale, r, centred);
    configure(drift_pos_y, 0.11, &position_drift_scale, r, centred);
    configure(drift_pos_z, 0.14, &position_drift_scale, r, centred);
    configure(drift_rot_x, 0.02, &rotation_drift_scale, 360.0, -180.0);
    configure(drift_rot_y, 0.022, &rotation_drift_scale, 360.0, -180.0);
    configure(drift_rot_z, 0.028, &rotation_drift_scale, 360.0, -180.0);
    configure(drift_spare, 0.3, &unit_drift_scale, 0.5, 0.15);
    configure(drift_band, 0.1, &unit_drift_scale, 0.25, 0.0);
}

// The clock reading at setup plus the star field's address, which varies
// from build to build and run to run; or the seed a tool has fixed. The clock
// is updated either way: the first frame's interval is measured from here.
std::uint32_t setup_seed()
{
    frame_clock.update();
    const auto reading =
        static_cast<std::uint32_t>(static_cast<std::int64_t>(frame_clock.elapsed_ms));
    const auto salt = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&scene_stars));
    return seed_is_fixed ? fixed_seed : reading + salt;
}

} // namespace

void fix_scene_seed(std::uint32_t seed)
{
    seed_is_fixed = true;
    fixed_seed = seed;
}

void scene_setup()
{
    scene_scale = 1.0;
    scene_band_fraction = 0.2;
    view_manager.background_alpha = 0.2f;
    view_manager.band_fraction = static_cast<float>(scene_band_fraction);

    view_manager.set_background(0.0f, 0.0f, 0.075f, 1.0f);
    view_manager.view_count = 2;
    View& scene_view = view_manager.views[1];
    scene_view.set_rect(0.0, 0.0, 1.0, 1.0);
    scene_view.between_bands = 1;
    Camera& camera = scene_view.camera;
    camera.fov = 80.0;
    camera.eye_distance = 0.0f;
    camera.near_plane = static_cast<float>(0.01 * scene_scale);
    camera.far_plane = static_cast<float>(4.0 * scene_scale);

    scene_fog.start = static_cast<float>(0.2 * scene_scale);
    scene_fog.end = static_cast<float>(2.5 * scene_scale);
    scene_fog.set_color(0.0f, 0.0f, 0.075f, 0.0f);

    scene_light.color[0] = 1.0f;
    scene_light.color[1] = 1.0f;
    scene_light.color[2] = 1.0f;

    scene_material.set_weights(0.4f, 0.6f, 0.9f, 1.0f);
    scene_material.shininess = 2;
    scene_material.tint[0] = 0.4f;
    scene_material.tint[1] = 0.75f;
    scene_material.tint[2] = 1.0f;
    apply_scene_lighting();

    set_switches();
    view_manager.depth_clear_on = scene_switches.depth_test_on;
    configure_drifters();

    frame_clock.speed = scene_speed_percent(scene_settings) / 100.0;
    seed_random(setup_seed());

    if (scene_switches.stars_on)
        setup_star_field();
    if (scene_switches.particles_on)
        setup_particles();
    scene_sphere.build(1.0, 20, 18);
    // The particles and the overlays bind slot 0: a soft round spot, bright
    // in the middle and clear at the edges, makes them glows and a vignette.
    if (scene_switches.particles_on || scene_settings.overlays)
        texture_slots[0].generate(SPHERE, 256, 256, GL_RGBA, 0);
    // Last: its 65,536 draws come after those of the layers.
    generate_sphere_texture();
}

void apply_scene_lighting()
{
    scene_fog.apply();
    scene_light.enable();
    scene_material.apply(scene_light);
}

void generate_sphere_texture()
{
    texture_slots[9].generate(scene_settings.texture, 256, 256, GL_RGBA, 0);
}

void setup_star_field()
{
    StarField& stars = scene_stars;
    stars.count = 2000;
    if (view_manager.background_alpha < 1.0f)
        stars.count /= 3; // a third while the fill is translucent: 666 at setup
    stars.layers = 2;
    stars.outer_size = 3.0 * scene_scale;
    stars.inner_size = 0.0 * stars.outer_size;
    stars.blend = 1;
    stars.depth_test = 0;
    stars.depth_write = 0;
    stars.shape = dome;
    stars.follow_camera = 1;
    stars.fog = 0;
    stars.color_floor = 0.2;
    stars.white_floor = 0.8;
    stars.build();
}

void setup_particles()
{
    ParticleSystem& particles = scene_particles;
    particles.count = 6;
    particles.outer_size = static_cast<float>(2.0 * scene_scale);
    particles.inner_size = 0.0f * particles.outer_size;
    particles.opacity = 0.105f;
    particles.alpha_test = 1;
    particles.alpha_reference = 0.01f;
    particles.blend = 1;
    particles.blend_source = 2;      // source alpha
    particles.blend_destination = 3; // one minus source alpha
    // A glow's square is wider than the sphere, and the depth test would cut
    // it along the wall into a hard-edged polygon. The particles keep inside
    // the sphere, so each glow's centre is nearer than the wall behind it.
    particles.depth_test = 0;
    particles.depth_write = 0;
    particles.fog = 1;
    particles.shape = dome;
    particles.texture = &texture_slots[0];
    particles.quad_half_size = 1.2f;
    particles.spawn();
}

void step_scene_drifters()
{
    const double d = frame_clock.delta;
    // Rotation y before x: the order decides which drifter gets which draw.
    for (Drifter* drifter : {&drift_pos_x, &drift_pos_y, &drift_pos_z, &drift_rot_y, &drift_rot_x,
                             &drift_rot_z, &drift_spare})
        drifter->step(d);
    view_manager.background_alpha = 1.0f;
    drift_band.step(d);
    scene_band_fraction = drift_band.value();
    view_manager.band_fraction = static_cast<float>(scene_band_fraction);
    if (scene_switches.particles_on)
        scene_particles.update(static_cast<float>(d), static_cast<float>(0.5 * scene_scale));
}
