#include "content/star_field.h"

#include "common/gl.h"
#include "common/random.h"
#include "content/point_placement.h"
#include "views/view.h"

StarField::~StarField()
{
    release();
}

void StarField::build()
{
    const float half = static_cast<float>(outer_size * 0.5);
    if (outer_size * 0.9 < inner_size)
        inner_size = outer_size * 0.9;
    const float rin = static_cast<float>(inner_size * 0.5 + 0.01);
    release();
    list = glGenLists(1);
    if (list == 0)
        return;
    glNewList(list, GL_COMPILE);
    glBegin(GL_POINTS);
    for (int i = 0; i < count / copies(); ++i) {
        float x = 0;
        float y = 0;
        float z = 0;
        if (!place_in_shell(
                shape, half, rin, [] { return rand_scaled(2.0f); }, x, y, z))
            break;
        // Mostly near-white stars, one in ten coloured; blue is drawn first.
        const bool coloured = rand_scaled(1.0) < 0.1;
        const double span = coloured ? white_floor : color_floor;
        const double floor = coloured ? color_floor : white_floor;
        const double blue = rand_scaled(span) + floor;
        const double green = rand_scaled(span) + floor;
        const double red = rand_scaled(span) + floor;
        glColor3d(red, green, blue);
        glVertex3d(x, y, z);
    }
    glEnd();
    glEndList();
}

void StarField::draw(const View& view) const
{
    if (list == 0)
        return;
    if (blend) {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_BLEND);
    }
    depth_test ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
    glDepthMask(depth_write ? GL_TRUE : GL_FALSE);
    glPushMatrix();
    if (follow_camera) {
        // Cancels the camera's translation, so the field stays centred on the
        // eye while it still turns with the camera.
        const Vec3& eye = view.camera.body.position;
        glTranslatef(eye.x, eye.y, -eye.z);
    }
    for (int k = 0; k < copies(); ++k) {
        glRotatef(360.0f / static_cast<float>(copies()), 0.0f, 1.0f, 0.0f);
        glPointSize(static_cast<float>(k + 1));
        glCallList(list);
    }
    glPopMatrix();
    if (blend)
        glDisable(GL_BLEND);
    if (depth_test)
        glDisable(GL_DEPTH_TEST);
}

void StarField::release()
{
    if (list != 0) {
        glDeleteLists(list, 1);
        list = 0;
    }
}
