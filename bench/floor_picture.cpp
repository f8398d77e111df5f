#include "floor_picture.h"

#include <GL/gl.h>

#include <cmath>

#include "baseline_picture.h"

namespace
{

int surface_width = 0;
int surface_height = 0;

} // namespace

void floor_start(int width, int height)
{
    surface_width = width;
    surface_height = height;
    baseline_start(width, height);
    const float light[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
}

void floor_frame(double t)
{
    // The band drifts as the saver's does, and the viewport truncates the
    // same float edges that the saver's layout forms.
    const auto h = static_cast<float>(surface_height);
    const auto f = static_cast<float>((std::cos(0.1 * t) * 0.5 + 0.5) * 0.25);
    const float bottom = h * f;
    const float strip = (h - bottom) - bottom;
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(0, static_cast<GLint>(bottom), surface_width, static_cast<GLsizei>(strip));
    // About one repeat across, as much of the texture as the sphere's view
    // shows, so that both magnify it alike.
    const auto u = static_cast<float>(std::fmod(0.15 * t, 1.0));
    const auto v = static_cast<float>(std::fmod(0.1665 * t, 1.0));
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(u, v);
    glVertex2f(-1.0f, -1.0f);
    glTexCoord2f(u + 1.0f, v);
    glVertex2f(1.0f, -1.0f);
    glTexCoord2f(u + 1.0f, v + 1.0f);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(u, v + 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
}
