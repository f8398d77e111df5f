#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/gl.h"
#include "content/fog.h"
#include "content/light.h"
#include "content/light_material.h"
#include "support/gl_recorder.h"
#include "support/gl_test.h"

class LightTest : public GlTest
{
};

TEST_F(LightTest, TheMaterialDerivesEveryColourFromWeightsAndTint)
{
    Light light;
    light.number = 3;
    LightMaterial material;
    material.set_weights(0.4f, 0.6f, 0.9f, 1.0f);
    material.shininess = 2;
    material.tint[0] = 0.4f;
    material.tint[1] = 0.75f;
    material.tint[2] = 1.0f;
    GlRecording gl;
    material.apply(light);

    const float ambient[] = {0.4f * 0.4f, 0.4f * 0.75f, 0.4f * 1.0f};
    const float diffuse[] = {0.6f * 0.4f, 0.6f * 0.75f, 0.6f * 1.0f};
    const float specular[] = {0.9f * 0.4f, 0.9f * 0.75f, 0.9f * 1.0f};
    const double light3 = GL_LIGHT3;
    EXPECT_EQ(
        gl.all(),
        (std::vector<GlCall>{
            gl_call("glLightModelfv",
                    {GL_LIGHT_MODEL_AMBIENT, ambient[0], ambient[1], ambient[2], 1}),
            gl_call("glMaterialfv", {GL_FRONT_AND_BACK, GL_SPECULAR, 0.4f, 0.75f, 1.0f, 1}),
            gl_call("glLightfv", {light3, GL_AMBIENT, ambient[0], ambient[1], ambient[2], 1}),
            gl_call("glLightfv", {light3, GL_DIFFUSE, diffuse[0], diffuse[1], diffuse[2], 1}),
            gl_call("glLightfv", {light3, GL_SPECULAR, specular[0], specular[1], specular[2], 1}),
            gl_call("glLightf", {light3, GL_SPOT_EXPONENT, 1}),
            gl_call("glLightf", {light3, GL_SPOT_CUTOFF, 180}),
            gl_call("glMateriali", {GL_FRONT_AND_BACK, GL_SHININESS, 2})}));
    EXPECT_NEAR(ambient[1], 0.3f, 1e-6);

    light.color[0] = light.color[1] = light.color[2] = 0.0f;
    gl.clear();
    material.apply(light);
    EXPECT_EQ(gl.all()[0], gl_call("glLightModelfv", {GL_LIGHT_MODEL_AMBIENT, 0, 0, 0, 1}));

    // A number past the eight lights names no light: only the settings that
    // belong to no light are sent.
    light.number = 8;
    gl.clear();
    material.apply(light);
    EXPECT_EQ(gl.outer_names(),
              (std::vector<std::string>{"glLightModelfv", "glMaterialfv", "glMateriali"}));
}

TEST_F(LightTest, FogSendsItsParametersButIsNotSwitchedOn)
{
    Fog fog;
    fog.set_color(0.1f, 0.2f, 0.3f, 0.4f);
    fog.start = 0.5f;
    GlRecording gl;
    fog.apply();
    EXPECT_EQ(gl.all(),
              (std::vector<GlCall>{gl_call("glFogi", {GL_FOG_MODE, GL_LINEAR}),
                                   gl_call("glHint", {GL_FOG_HINT, GL_NICEST}),
                                   gl_call("glFogfv", {GL_FOG_COLOR, 0.1f, 0.2f, 0.3f, 0.4f}),
                                   gl_call("glFogf", {GL_FOG_START, 0.5f}),
                                   gl_call("glFogf", {GL_FOG_END, 2.0f})}));
    EXPECT_FALSE(glIsEnabled(GL_FOG));
}

TEST_F(LightTest, TheLightIsPositional)
{
    Light light;
    light.position.set(0.0f, 0.0f, 2.0f);
    GlRecording gl;
    light.enable();
    EXPECT_EQ(gl.all(),
              (std::vector<GlCall>{gl_call("glLightfv", {GL_LIGHT0, GL_POSITION, 0, 0, 2, 1}),
                                   gl_call("glLightfv", {GL_LIGHT0, GL_SPOT_DIRECTION, 0, 0, 0}),
                                   gl_call("glEnable", {GL_LIGHT0})}));
    for (const int number : {-1, 8}) {
        Light nowhere;
        nowhere.number = number;
        gl.clear();
        nowhere.enable();
        EXPECT_TRUE(gl.all().empty()) << number;
    }
}
