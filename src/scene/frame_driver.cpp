#include "scene/frame_driver.h"

#include <algorithm>

#include "common/frame_clock.h"
#include "common/gl.h"
#include "content/scene_pass.h"
#include "content/scene_switches.h"
#include "content/screen_overlays.h"
#include "content/star_field.h"
#include "scene/scene_settings.h"
#include "scene/scene_setup.h"
#include "textures/texture_slot.h"
#include "views/view_manager.h"

int client_width = 0;
int client_height = 0;

namespace
{

// cleared: the background is a clear and the caller has made it already.
void draw_background_pass(const View* painted = nullptr, bool cleared = false)
{
    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
    view_manager.select_viewport(0);
    view_manager.select_ortho(0);
    if (!cleared)
        view_manager.draw_background(painted);
    else if (view_manager.depth_clear_on)
        glDepthMask(GL_TRUE); // as the clear would have left it
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

void draw_area(const ScreenArea& area, bool cleared)
{
    view_manager.set_screen_area(static_cast<float>(area.left), static_cast<float>(area.bottom),
                                 static_cast<float>(area.width), static_cast<float>(area.height));
    // The scene's view paints all of its viewport, so the background under
    // it can be a clear.
    view_manager.band_fraction = static_cast<float>(scene_band_fraction);
    view_manager.layout_views();
    draw_background_pass(scene_switches.scene_pass_on ? &view_manager.views[1] : nullptr,
                         cleared);
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

// One clear of the whole buffer, black, the fast one: true where it is also
// each picture's background, a clear of the same black.
bool clear_all_black()
{
    if (!view_manager.background_is_clear(scene_switches.scene_pass_on != 0)) {
        clear_picture();
        return false;
    }
    view_manager.clear_background();
    return true;
}

// The smallest rectangle that holds count > 0 areas.
ScreenArea bounding_box(const ScreenArea* areas, int count)
{
    int left = areas[0].left;
    int bottom = areas[0].bottom;
    int right = left + areas[0].width;
    int top = bottom + areas[0].height;
    for (int i = 1; i < count; ++i) {
        left = std::min(left, areas[i].left);
        bottom = std::min(bottom, areas[i].bottom);
        right = std::max(right, areas[i].left + areas[i].width);
        top = std::max(top, areas[i].bottom + areas[i].height);
    }
    return {left, bottom, right - left, top - bottom};
}

bool overlap(const ScreenArea& a, const ScreenArea& b)
{
    return a.left < b.left + b.width && b.left < a.left + a.width &&
           a.bottom < b.bottom + b.height && b.bottom < a.bottom + a.height;
}

bool any_overlap(const ScreenArea* areas, int count)
{
    for (int i = 0; i < count; ++i)
        for (int j = 0; j < i; ++j)
            if (overlap(areas[i], areas[j]))
                return true;
    return false;
}

// The rectangle that the areas make up together, each pixel of it in exactly
// one of them; false where they overlap, leave a gap or one is empty.
bool tile_one_rectangle(const ScreenArea* areas, int count, ScreenArea& box)
{
    long long covered = 0;
    for (int i = 0; i < count; ++i) {
        if (areas[i].width <= 0 || areas[i].height <= 0)
            return false;
        covered += static_cast<long long>(areas[i].width) * areas[i].height;
    }
    if (any_overlap(areas, count))
        return false;
    // Without overlaps the areas cover the sum of their sizes, so they fill
    // their bounding rectangle only when that sum is its size.
    box = bounding_box(areas, count);
    return covered == static_cast<long long>(box.width) * box.height;
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
    draw_area(area, false);
}

void draw_picture_in_parts(const ScreenArea& area, const ScreenArea* parts, int count)
{
    view_manager.band_fraction = static_cast<float>(scene_band_fraction);
    const bool cleared = clear_all_black(); // what nobody sees may as well be black
    glEnable(GL_SCISSOR_TEST);
    // Each part by itself, but in one go where they make up one rectangle,
    // and within their bounding box where they overlap: drawn twice, what
    // blends (particles, overlays) would show brighter there.
    ScreenArea box = bounding_box(parts, count);
    if (any_overlap(parts, count) || tile_one_rectangle(parts, count, box)) {
        parts = &box;
        count = 1;
    }
    for (int i = 0; i < count; ++i) {
        glScissor(parts[i].left, parts[i].bottom, parts[i].width, parts[i].height);
        draw_area(area, cleared);
    }
    glDisable(GL_SCISSOR_TEST);
}

void draw_pictures(const ScreenArea* areas, int count, bool black_around)
{
    view_manager.band_fraction = static_cast<float>(scene_band_fraction);
    const bool clear_is_background =
        view_manager.background_is_clear(scene_switches.scene_pass_on != 0);
    bool cleared = black_around && clear_all_black(); // each background already made
    glEnable(GL_SCISSOR_TEST);
    // Scissored to less than the whole buffer, a clear is a quad to the
    // software renderer, far slower than its clear of all of it. Where each
    // picture's background is a clear and the areas make up one rectangle,
    // one clear of that rectangle leaves the same pixels as a clear of each
    // area, since no picture draws outside its own; over the whole buffer it
    // is the fast one. Gaps between areas keep what they held.
    ScreenArea box{};
    if (!black_around && count > 1 && clear_is_background &&
        tile_one_rectangle(areas, count, box)) {
        glScissor(box.left, box.bottom, box.width, box.height);
        view_manager.clear_background();
        cleared = true;
    }
    for (int i = 0; i < count; ++i) {
        glScissor(areas[i].left, areas[i].bottom, areas[i].width, areas[i].height);
        draw_area(areas[i], cleared);
    }
    glDisable(GL_SCISSOR_TEST);
}

void change_scene_texture(int kind)
{
    scene_settings.texture = kind;
    generate_sphere_texture();
    frame_clock.change_speed(scene_speed_percent(scene_settings) / 100.0);
}

void clear_picture()
{
    // The fixed state's clear colour: opaque black, as the bands are.
    glClear(GL_COLOR_BUFFER_BIT);
}

void end_scene_context()
{
    if (scene_switches.stars_on)
        scene_stars.release();
    forget_bound_texture();
}

void join_scene_context()
{
    apply_fixed_gl_state();
    apply_scene_lighting();
}

void forget_scene_bindings()
{
    forget_bound_texture();
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
