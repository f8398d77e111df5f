#include "views/view.h"

#include "common/gl.h"

namespace
{

Rect to_rect(double x0, double y0, double x1, double y1)
{
    return {static_cast<float>(x0), static_cast<float>(y0), static_cast<float>(x1),
            static_cast<float>(y1)};
}

} // namespace

View::View()
{
    layout();
}

void View::set_rect(double x0, double y0, double x1, double y1)
{
    rect = to_rect(x0, y0, x1, y1);
}

void View::set_screen_rect(double x0, double y0, double x1, double y1)
{
    screen_rect = to_rect(x0, y0, x1, y1);
    screen_width = static_cast<float>(x1 - x0);
    screen_height = static_cast<float>(y1 - y0);
}

void View::layout()
{
    const float sx = screen_rect.x0;
    const float sy = screen_rect.y0;
    pixel_rect.x0 = rect.x0 * screen_width + sx;
    pixel_rect.y0 = rect.y0 * screen_height + sy;
    pixel_rect.x1 = rect.x1 * screen_width + sx;
    pixel_rect.y1 = rect.y1 * screen_height + sy;
    pixel_width = pixel_rect.x1 - pixel_rect.x0;
    pixel_height = pixel_rect.y1 - pixel_rect.y0;
}

void View::apply_viewport() const
{
    // Each value truncates on its own; the width is not rebuilt from edges.
    glViewport(static_cast<GLint>(pixel_rect.x0), static_cast<GLint>(pixel_rect.y0),
               static_cast<GLsizei>(pixel_width), static_cast<GLsizei>(pixel_height));
}

void View::apply_ortho() const
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(static_cast<int>(pixel_rect.x0), static_cast<int>(pixel_rect.x1),
            static_cast<int>(pixel_rect.y0), static_cast<int>(pixel_rect.y1), -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
