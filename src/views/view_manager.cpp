#include "views/view_manager.h"

#include <algorithm>

#include "common/gl.h"

ViewManager::ViewManager()
{
    band_fraction = 0.0f;
    background_alpha = 1.0f;
    set_screen_size(100.0f, 100.0f);
    set_background(0.0f, 0.0f, 0.0f, 1.0f);
    // Runs before any context exists, so this never reaches GL: the clear
    // colour is the fixed state's opaque black.
    glClearColor(background_color[0], background_color[1], background_color[2],
                 background_color[3]);
    view_count = 1;
    current_view = 0;
    View& full = views[0];
    full.between_bands = 0;
    full.set_rect(0.0, 0.0, 1.0, 1.0);
    full.set_screen_rect(screen_left, screen_bottom, screen_right, screen_top);
    full.layout();
}

void ViewManager::set_screen_size(float w, float h)
{
    set_screen_area(0.0f, 0.0f, w, h);
}

void ViewManager::set_screen_area(float left, float bottom, float w, float h)
{
    width = w;
    height = h;
    screen_left = left;
    screen_bottom = bottom;
    screen_right = left + w;
    screen_top = bottom + h;
    screen_width = screen_right - screen_left;
    screen_height = screen_top - screen_bottom;
}

void ViewManager::set_background(float r, float g, float b, float a)
{
    background_color[0] = r;
    background_color[1] = g;
    background_color[2] = b;
    background_color[3] = a;
}

void ViewManager::select_viewport(int i)
{
    current_view = i;
    views[i].apply_viewport();
}

void ViewManager::select_ortho(int i)
{
    current_view = i;
    views[i].apply_ortho();
}

void ViewManager::layout_views()
{
    for (int i = 0; i < view_count; ++i) {
        View& view = views[i];
        if (view.between_bands == 0) {
            view.set_screen_rect(screen_left, screen_bottom, screen_right, screen_top);
        } else {
            // Bands of half the height or more meet in the middle: the strip
            // between them is then empty, never inverted.
            const float d = std::min(screen_height * band_fraction, screen_height * 0.5f);
            view.set_screen_rect(screen_left, screen_bottom + d, screen_right, screen_top - d);
        }
        view.layout();
    }
}

bool ViewManager::background_is_clear(bool painted) const
{
    return background_alpha == 1.0f && (band_fraction == 0.0f || painted);
}

void ViewManager::clear_background() const
{
    GLbitfield buffers = GL_COLOR_BUFFER_BIT;
    if (depth_clear_on) {
        glDepthMask(GL_TRUE);
        buffers |= GL_DEPTH_BUFFER_BIT;
    }
    glClear(buffers);
}

void ViewManager::draw_background(const View* painted) const
{
    const float w = width;
    const float h = height;
    const float x0 = screen_left; // 0 but where the window holds one picture a monitor
    const float y0 = screen_bottom;
    const float f = band_fraction;
    const float alpha = background_alpha;

    // Under an opaque fill, all that a view painting the whole of its
    // viewport leaves is black: the bands reach past its truncated edges and
    // the fill never shows (the views' test checks this for every band height).
    // A clear is then the same picture for far less work than the quads.
    if (background_is_clear(painted != nullptr)) {
        clear_background();
        return;
    }
    // The colour buffer keeps the last frame, so a translucent fill leaves trails.
    if (depth_clear_on) {
        glDepthMask(GL_TRUE);
        glClear(GL_DEPTH_BUFFER_BIT);
    }
    glDisable(GL_BLEND);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    const float band_top = y0 + (h * f + 1.0f);
    const float band_bottom = y0 + ((1.0f - f) * h - 1.0f);
    const auto quad = [&](float bottom, float top) {
        glVertex2f(x0, bottom);
        glVertex2f(x0 + w, bottom);
        glVertex2f(x0 + w, top);
        glVertex2f(x0, top);
    };
    glBegin(GL_QUADS);
    quad(y0, band_top);
    quad(band_bottom, y0 + h);
    glEnd();
    if (alpha != 1.0f) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    glColor4f(background_color[0], background_color[1], background_color[2], alpha);
    glBegin(GL_QUADS);
    quad(y0 + h * f, band_bottom);
    glEnd();
}
