#include "content/light.h"

#include "common/gl.h"

namespace
{
const GLenum light_names[light_count] = {GL_LIGHT0, GL_LIGHT1, GL_LIGHT2, GL_LIGHT3,
                                         GL_LIGHT4, GL_LIGHT5, GL_LIGHT6, GL_LIGHT7};
}

unsigned Light::gl_light() const
{
    // Past the table there is no light to drive; standing in for a
    // neighbour would quietly change a light that belongs to someone else.
    return number >= 0 && number < light_count ? light_names[number] : no_gl_light;
}

void Light::apply()
{
    gl_position[0] = position.x;
    gl_position[1] = position.y;
    gl_position[2] = position.z;
    if (gl_light() == no_gl_light)
        return;
    glLightfv(gl_light(), GL_POSITION, gl_position);
    glLightfv(gl_light(), GL_SPOT_DIRECTION, spot_direction);
}

void Light::enable()
{
    apply();
    if (gl_light() != no_gl_light)
        glEnable(gl_light());
}
