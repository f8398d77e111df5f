#include "views/camera.h"

#include "common/gl.h"
#include "views/view_manager.h"

void Camera::apply()
{
    const double d = eye_distance;
    gluLookAt(0.0, 0.0, d, 0.0, 0.0, d - 1.0, 0.0, 1.0, 0.0);
    glRotatef(-body.angles.x, 1.0f, 0.0f, 0.0f);
    glRotatef(-body.angles.y, 0.0f, 1.0f, 0.0f);
    glRotatef(-body.angles.z, 0.0f, 0.0f, 1.0f);
    // z keeps its sign: the star field counter-translates by (x, y, -z).
    glTranslatef(-body.position.x, -body.position.y, body.position.z);
    capture_axes();
}

void Camera::capture_axes()
{
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    right[0] = modelview[0];
    right[1] = modelview[4];
    right[2] = modelview[8];
    up[0] = modelview[1];
    up[1] = modelview[5];
    up[2] = modelview[9];
}

void Camera::apply_projection(const ViewManager& manager) const
{
    const View& view = manager.views[manager.current_view];
    const float w = view.pixel_width;
    const float h = view.pixel_height;
    // A view squeezed to no height shows nothing; keep its matrix finite.
    const double aspect = h == 0.0f ? 1.0 : static_cast<double>(w / h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fov, aspect, near_plane, far_plane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
