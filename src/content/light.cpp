#include "content/light.h"

#include "common/gl.h"
#include "content/sphere_mesh.h"

namespace
{
const GLenum light_names[8] = {GL_LIGHT0, GL_LIGHT1, GL_LIGHT2, GL_LIGHT3,
                               GL_LIGHT4, GL_LIGHT5, GL_LIGHT6, GL_LIGHT7};
}

unsigned Light::gl_light() const
{
    return light_names[number];
}

void Light::apply()
{
    gl_position[0] = position.x;
    gl_position[1] = position.y;
    gl_position[2] = position.z;
    glLightfv(gl_light(), GL_POSITION, gl_position);
    glLightfv(gl_light(), GL_SPOT_DIRECTION, spot_direction);
}

void Light::enable()
{
    apply();
    glEnable(gl_light());
}

void Light::draw_marker() const
{
    glColor3f(color[0], color[1], color[2]);
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    draw_sphere_mesh(marker_radius, 10, 10, 1.0, 1.0, 0.0, 0.0);
    glPopMatrix();
}
