#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "common/gl.h"
#include "content/drifter.h"
#include "content/scene_camera.h"
#include "support/gl_recorder.h"
#include "support/gl_test.h"
#include "views/view_manager.h"

namespace
{

void load_identity_modelview()
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

} // namespace

class CameraTest : public GlTest
{
};

TEST_F(CameraTest, APureTranslationKeepsTheAxesAndNegatesOnlyXAndY)
{
    Camera camera;
    camera.eye_distance = 0.5f;
    camera.body.position.set(0.1f, 0.2f, 0.3f);
    load_identity_modelview();
    camera.apply();
    const float* m = camera.modelview;
    EXPECT_FLOAT_EQ(m[12], -0.1f);
    EXPECT_FLOAT_EQ(m[13], -0.2f);
    EXPECT_FLOAT_EQ(m[14], 0.3f - 0.5f);
    EXPECT_FLOAT_EQ(camera.right[0], 1.0f);
    EXPECT_FLOAT_EQ(camera.right[1], 0.0f);
    EXPECT_FLOAT_EQ(camera.right[2], 0.0f);
    EXPECT_FLOAT_EQ(camera.up[0], 0.0f);
    EXPECT_FLOAT_EQ(camera.up[1], 1.0f);
    EXPECT_FLOAT_EQ(camera.up[2], 0.0f);
}

TEST_F(CameraTest, TurningNinetyDegreesAboutYTurnsTheRightAxis)
{
    Camera camera;
    camera.eye_distance = 0.0f;
    camera.body.angles.set(0.0f, 90.0f, 0.0f);
    load_identity_modelview();
    camera.apply();
    EXPECT_NEAR(camera.right[0], 0.0f, 1e-6);
    EXPECT_NEAR(camera.right[1], 0.0f, 1e-6);
    EXPECT_NEAR(camera.right[2], -1.0f, 1e-6);
    EXPECT_NEAR(camera.up[1], 1.0f, 1e-6);

    camera.body.angles.set(0.0f, 0.0f, 90.0f); // about z: right turns up, up turns left
    load_identity_modelview();
    camera.apply();
    EXPECT_NEAR(camera.right[1], 1.0f, 1e-6);
    EXPECT_NEAR(camera.up[0], -1.0f, 1e-6);
}

TEST_F(CameraTest, TheAspectComesFromTheCurrentViewBetweenTheBands)
{
    ViewManager manager;
    manager.set_screen_size(1280.0f, 1024.0f);
    manager.band_fraction = 0.1f;
    manager.view_count = 2;
    manager.views[1].between_bands = 1;
    manager.layout_views();
    manager.select_viewport(1);
    GlRecording gl;
    manager.views[1].camera.apply_projection(manager);
    EXPECT_EQ(gl.outer_names(),
              (std::vector<std::string>{"glMatrixMode", "glLoadIdentity", "gluPerspective",
                                        "glMatrixMode", "glLoadIdentity"}));
    float p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    EXPECT_NEAR(p[5] / p[0], 1280.0 / 819.2, 1e-4); // 1.5625

    // Squeezed to no height: the matrix must stay finite.
    manager.band_fraction = 0.5f;
    manager.layout_views();
    manager.select_viewport(1);
    manager.views[1].camera.apply_projection(manager);
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    for (float entry : p)
        EXPECT_TRUE(std::isfinite(entry));
    EXPECT_FLOAT_EQ(p[0], p[5]); // as if square
}

TEST_F(CameraTest, OnlyViewOneTakesItsPoseFromTheDrifters)
{
    drift_pos_x.offset = 0.25;
    drift_pos_x.range = 0.0;
    drift_pos_y.offset = 0.5;
    drift_pos_z.offset = 0.75;
    drift_rot_x.offset = 10.0;
    drift_rot_y.offset = 20.0;
    drift_rot_z.offset = 30.0;
    for (Drifter* d :
         {&drift_pos_x, &drift_pos_y, &drift_pos_z, &drift_rot_x, &drift_rot_y, &drift_rot_z})
        d->range = 0.0;
    view_manager.current_view = 2;
    update_scene_camera();
    EXPECT_EQ(view_manager.views[2].camera.body.position.x, 0.0f);
    EXPECT_EQ(view_manager.views[1].camera.body.position.x, 0.0f);

    view_manager.current_view = 1;
    GlRecording gl;
    update_scene_camera();
    const Body& pose = view_manager.views[1].camera.body;
    EXPECT_FLOAT_EQ(pose.position.x, 0.25f);
    EXPECT_FLOAT_EQ(pose.angles.z, 30.0f);
    // x, then y, then z, each turned back; only z of the position keeps its sign.
    const auto calls = gl.outer();
    EXPECT_EQ(std::vector<GlCall>(calls.begin() + 1, calls.begin() + 5),
              (std::vector<GlCall>{gl_call("glRotatef", {-10, 1, 0, 0}),
                                   gl_call("glRotatef", {-20, 0, 1, 0}),
                                   gl_call("glRotatef", {-30, 0, 0, 1}),
                                   gl_call("glTranslatef", {-0.25, -0.5, 0.75})}));
}
