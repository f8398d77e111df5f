#include "content/screen_overlays.h"

#include "common/gl.h"
#include "textures/texture_slot.h"
#include "views/view_manager.h"

namespace
{

constexpr int overlay_texture_slot = 0;

void draw_over_screen()
{
    texture_slots[overlay_texture_slot].bind();
    glEnable(GL_TEXTURE_2D);
}

} // namespace

void draw_screen_quad(float x, float y, float width, float height)
{
    glBegin(GL_QUADS);
    glTexCoord2d(0.0, 0.0);
    glVertex2f(x, y);
    glTexCoord2d(1.0, 0.0);
    glVertex2f(x + width, y);
    glTexCoord2d(1.0, 1.0);
    glVertex2f(x + width, y + height);
    glTexCoord2d(0.0, 1.0);
    glVertex2f(x, y + height);
    glEnd();
}

void draw_backdrop_overlay()
{
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    draw_over_screen();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    draw_screen_quad(view_manager.screen_left, view_manager.screen_bottom, view_manager.screen_width,
                     view_manager.screen_height);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

void draw_modulate_overlay()
{
    glBlendFunc(GL_ZERO, GL_SRC_COLOR);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
    draw_over_screen();
    glColor3f(1.0f, 1.0f, 1.0f);
    draw_screen_quad(view_manager.screen_left, view_manager.screen_bottom, view_manager.screen_width,
                     view_manager.screen_height);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}
