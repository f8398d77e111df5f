#include "content/scene_pass.h"

#include <cmath>

#include "common/frame_clock.h"
#include "common/gl.h"
#include "content/light.h"
#include "content/particle_system.h"
#include "content/scene_camera.h"
#include "content/scene_switches.h"
#include "content/sphere_mesh.h"
#include "content/star_field.h"
#include "textures/texture_slot.h"
#include "views/view_manager.h"

namespace
{

constexpr int sphere_texture_slot = 9;

// Circles the vertical axis at distance 2 every 10 pi seconds, rising and
// falling every 50 pi seconds; at t = 0 it stands at (0, 0, 2).
void move_light(double t)
{
    scene_light.position.set(static_cast<float>(std::sin(t * 0.1 * 2.0) * 2.0),
                             static_cast<float>(std::sin(t * 0.02 * 2.0) * 2.0),
                             static_cast<float>(std::cos(t * 0.1 * 2.0) * 2.0));
}

// A layer is fogged only when the scene and the layer both ask for it; fog is
// off again afterwards in every case.
template <typename Draw> void draw_with_layer_fog(int layer_fog, Draw draw)
{
    if (scene_switches.fog_on && layer_fog)
        glEnable(GL_FOG);
    draw();
    glDisable(GL_FOG);
}

} // namespace

void apply_sphere_state()
{
    const SceneSwitches& on = scene_switches;
    if (on.blend_on) {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_BLEND);
    } else {
        glDisable(GL_BLEND);
    }
    on.cull_on ? glEnable(GL_CULL_FACE) : glDisable(GL_CULL_FACE);
    if (on.depth_test_on) {
        glEnable(GL_DEPTH_TEST);
        glDepthMask(GL_TRUE);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    on.fog_on ? glEnable(GL_FOG) : glDisable(GL_FOG);
    on.lighting_on ? glEnable(GL_LIGHTING) : glDisable(GL_LIGHTING);
    on.texture_on ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
}

void clear_sphere_state()
{
    const SceneSwitches& on = scene_switches;
    if (on.blend_on)
        glDisable(GL_BLEND);
    if (on.cull_on)
        glDisable(GL_CULL_FACE);
    if (on.depth_test_on)
        glDisable(GL_DEPTH_TEST);
    if (on.fog_on)
        glDisable(GL_FOG);
    if (on.lighting_on)
        glDisable(GL_LIGHTING);
    if (on.texture_on)
        glDisable(GL_TEXTURE_2D);
}

void draw_sphere_step()
{
    const double t = frame_clock.now;
    if (scene_switches.lighting_on) {
        move_light(t);
        scene_light.apply();
    }
    // Colour material turns this into a white ambient and diffuse material.
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    texture_slots[sphere_texture_slot].bind();
    apply_sphere_state();
    // The texture repeats, so only the fraction of the scroll matters. Left
    // whole, the offsets grow with the running time until the float texture
    // coordinates can no longer resolve one frame's step: after hours the
    // scroll stutters, after days it stops.
    const double scroll = 0.15f;
    scene_sphere.draw(4.0, 4.0, std::fmod(scroll * t, 1.0), std::fmod(t * 1.11 * scroll, 1.0));
    clear_sphere_state();
}

void draw_scene_pass()
{
    update_scene_camera();
    const View& view = view_manager.views[view_manager.current_view];
    if (scene_switches.stars_on) {
        draw_with_layer_fog(scene_stars.fog, [&] { scene_stars.draw(view); });
    }
    draw_sphere_step();
    if (scene_switches.particles_on) {
        draw_with_layer_fog(scene_particles.fog,
                            [&] { scene_particles.draw(view, view_manager.background_alpha); });
    }
}
