#include "scene/frame_driver.h"

#include "common/frame_clock.h"
#include "common/gl.h"
#include "content/scene_pass.h"
#include "content/scene_switches.h"
#include "content/screen_overlays.h"
#include "scene/scene_setup.h"
#include "views/view_manager.h"

int client_width = 0;
int client_height = 0;

namespace
{

void draw_background_pass(const View* painted = nullptr)
{
    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
    view_manager.select_viewport(0);
    view_manager.select_ortho(0);
    view_manager.draw_background(painted);
}

void draw_scene_views()
{
    for (int i = 1; i < view_manager.view_count; ++i) {
        view_manager.select_viewport(i);
        // Projection parameters always come from view 1; the aspect from view i.
        view_manager.views[1].camera.apply_projection(view_manager);
        draw_scene_pass();
    }
}

} // namespace

void apply_fixed_gl_state()
{
    glLineWidth(1.0f);
    glPointSize(1.0f);
    glShadeModel(GL_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glDisable(GL_DITHER);
    // The bands, where the background is a clear: opaque, as their quads are.
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glMateriali(GL_FRONT_AND_BACK, GL_SHININESS, 30);
}

void start_scene(int width, int height)
{
    view_manager.set_screen_size(static_cast<float>(width), static_cast<float>(height));
    scene_setup();
    draw_background_pass();
}

void step_frame()
{
    frame_clock.update();
    step_scene_drifters();
}

void draw_picture(const ScreenArea& area)
{
    view_manager.set_screen_area(static_cast<float>(area.left), static_cast<float>(area.bottom),
                                 static_cast<float>(area.width), static_cast<float>(area.height));
    // The scene's view paints all of its viewport, so the background under
    // it can be a clear.
    view_manager.band_fraction = static_cast<float>(scene_band_fraction);
    view_manager.layout_views();
    draw_background_pass(scene_switches.scene_pass_on ? &view_manager.views[1] : nullptr);
    if (scene_switches.backdrop_overlay_on)
        draw_backdrop_overlay();
    if (scene_switches.scene_pass_on)
        draw_scene_views();
    if (scene_switches.modulate_overlay_on) {
        view_manager.select_viewport(0);
        view_manager.select_ortho(0);
        draw_modulate_overlay();
    }
}

void draw_pictures(const ScreenArea* areas, int count)
{
    glEnable(GL_SCISSOR_TEST);
    for (int i = 0; i < count; ++i) {
        glScissor(areas[i].left, areas[i].bottom, areas[i].width, areas[i].height);
        draw_picture(areas[i]);
    }
    glDisable(GL_SCISSOR_TEST);
}

void clear_picture()
{
    // The fixed state's clear colour: opaque black, as the bands are.
    glClear(GL_COLOR_BUFFER_BIT);
}

void set_fixed_gl_state()
{
    apply_fixed_gl_state();
    start_scene(client_width, client_height);
}

void run_frame()
{
    step_frame();
    draw_picture({0, 0, client_width, client_height});
}
