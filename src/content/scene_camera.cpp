#include "content/scene_camera.h"

#include "content/drifter.h"
#include "views/view_manager.h"

void update_scene_camera()
{
    const int i = view_manager.current_view;
    Camera& camera = view_manager.views[i].camera;
    if (i == 1) {
        camera.body.position.set(static_cast<float>(drift_pos_x.value()),
                                 static_cast<float>(drift_pos_y.value()),
                                 static_cast<float>(drift_pos_z.value()));
        camera.body.angles.set(static_cast<float>(drift_rot_x.value()),
                               static_cast<float>(drift_rot_y.value()),
                               static_cast<float>(drift_rot_z.value()));
    }
    camera.apply();
}
