#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/frame_clock.h"
#include "common/gl.h"
#include "content/drifter.h"
#include "content/scene_switches.h"
#include "scene/frame_driver.h"
#include "scene/scene_settings.h"
#include "support/gl_recorder.h"
#include "support/gl_test.h"
#include "views/view_manager.h"

namespace
{

using Names = std::vector<std::string>;

Names repeat(const Names& names, int times)
{
    Names result;
    for (int i = 0; i < times; ++i)
        result.insert(result.end(), names.begin(), names.end());
    return result;
}

Names joined(std::initializer_list<Names> parts)
{
    Names result;
    for (const Names& part : parts)
        result.insert(result.end(), part.begin(), part.end());
    return result;
}

} // namespace

class FrameDriverTest : public GlTest
{
};

TEST_F(FrameDriverTest, StartingSetsTheFixedStateSetsUpAndDrawsOneBackground)
{
    set_test_clock(0);
    client_width = width;
    client_height = height;
    GlRecording gl;
    set_fixed_gl_state();
    const auto all = gl.outer();
    const std::vector<GlCall> fixed = {
        gl_call("glLineWidth", {1}),
        gl_call("glPointSize", {1}),
        gl_call("glShadeModel", {GL_SMOOTH}),
        gl_call("glPolygonMode", {GL_FRONT_AND_BACK, GL_FILL}),
        gl_call("glLightModeli", {GL_LIGHT_MODEL_LOCAL_VIEWER, 1}),
        gl_call("glHint", {GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST}),
        gl_call("glDisable", {GL_DITHER}),
        gl_call("glClearColor", {0, 0, 0, 1}),
        gl_call("glEnable", {GL_COLOR_MATERIAL}),
        gl_call("glColorMaterial", {GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE}),
        gl_call("glMateriali", {GL_FRONT_AND_BACK, GL_SHININESS, 30})};
    EXPECT_EQ(std::vector<GlCall>(all.begin(), all.begin() + 11), fixed);

    // Fog, light and material as setup gives them: the tinted white light.
    const float c[3] = {0.4f, 0.75f, 1.0f};
    const std::vector<GlCall> lighting = {
        gl_call("glFogi", {GL_FOG_MODE, GL_LINEAR}),
        gl_call("glHint", {GL_FOG_HINT, GL_NICEST}),
        gl_call("glFogfv", {GL_FOG_COLOR, 0, 0, 0.075f, 0}),
        gl_call("glFogf", {GL_FOG_START, 0.2f}),
        gl_call("glFogf", {GL_FOG_END, 2.5f}),
        gl_call("glLightfv", {GL_LIGHT0, GL_POSITION, 1, 1, 1, 1}),
        gl_call("glLightfv", {GL_LIGHT0, GL_SPOT_DIRECTION, 0, 0, 0}),
        gl_call("glEnable", {GL_LIGHT0}),
        gl_call("glLightModelfv",
                {GL_LIGHT_MODEL_AMBIENT, 0.4f * c[0], 0.4f * c[1], 0.4f * c[2], 1}),
        gl_call("glMaterialfv", {GL_FRONT_AND_BACK, GL_SPECULAR, c[0], c[1], c[2], 1}),
        gl_call("glLightfv", {GL_LIGHT0, GL_AMBIENT, 0.4f * c[0], 0.4f * c[1], 0.4f * c[2], 1}),
        gl_call("glLightfv", {GL_LIGHT0, GL_DIFFUSE, 0.6f * c[0], 0.6f * c[1], 0.6f * c[2], 1}),
        gl_call("glLightfv", {GL_LIGHT0, GL_SPECULAR, 0.9f * c[0], 0.9f * c[1], 0.9f * c[2], 1}),
        gl_call("glLightf", {GL_LIGHT0, GL_SPOT_EXPONENT, 1}),
        gl_call("glLightf", {GL_LIGHT0, GL_SPOT_CUTOFF, 180}),
        gl_call("glMateriali", {GL_FRONT_AND_BACK, GL_SHININESS, 2})};
    EXPECT_EQ(std::vector<GlCall>(all.begin() + 11, all.begin() + 27), lighting);
    Names fog_light_material;
    for (const GlCall& call : lighting)
        fog_light_material.push_back(call.name);
    const Names texture = {"glGenTextures",   "glBindTexture",   "glTexParameteri",
                           "glTexParameteri", "glTexEnvf",       "glPixelStorei",
                           "glTexParameteri", "glTexParameteri", "glTexImage2D"};
    const Names view_zero = {"glDepthMask",    "glDisable", "glViewport",   "glMatrixMode",
                             "glLoadIdentity", "glOrtho",   "glMatrixMode", "glLoadIdentity"};
    const Names background = // no depth to clear: nothing is drawn with it
        joined({{"glDisable", "glColor4f", "glBegin"},
                repeat({"glVertex2f"}, 8),
                {"glEnd", "glEnable", "glBlendFunc", "glColor4f", "glBegin"},
                repeat({"glVertex2f"}, 4),
                {"glEnd"}});
    const Names names = gl.outer_names();
    EXPECT_EQ(Names(names.begin() + 11, names.end()),
              joined({fog_light_material, texture, view_zero, background}));
    // Nothing is drawn at view zero's true size yet, and the fill is translucent.
    EXPECT_EQ(gl.named("glViewport")[0], gl_call("glViewport", {0, 0, 100, 100}));
    EXPECT_EQ(gl.named("glColor4f")[1], gl_call("glColor4f", {0, 0, 0.075f, 0.2f}));
}

TEST_F(FrameDriverTest, AFrameIsTheBackgroundThenTheSceneViewBetweenTheBands)
{
    set_test_clock(0);
    start_scene(width, height);
    set_test_clock(5);
    GlRecording gl;
    draw_frame();
    const float f = view_manager.band_fraction;
    EXPECT_EQ(f, static_cast<float>(drift_band.value()));
    EXPECT_GE(f, 0.0f);
    EXPECT_LE(f, 0.25f);
    EXPECT_EQ(view_manager.background_alpha, 1.0f);

    const auto viewports = gl.named("glViewport");
    ASSERT_EQ(viewports.size(), 2u);
    EXPECT_EQ(viewports[0], gl_call("glViewport", {0, 0, width, height})); // laid out first
    const View& scene = view_manager.views[1];
    EXPECT_EQ(viewports[1], gl_call("glViewport", {0, double(int(scene.pixel_rect.y0)), width,
                                                   double(int(scene.pixel_height))}));
    EXPECT_EQ(
        gl.named("gluPerspective")[0],
        gl_call("gluPerspective", {80, double(scene.pixel_width / scene.pixel_height), 0.01f, 4}));
    EXPECT_EQ(gl.named("gluLookAt")[0], gl_call("gluLookAt", {0, 0, 0, 0, 0, -1, 0, 1, 0}));
    // All the background that shows beside the sphere is the bands' black.
    EXPECT_EQ(gl.named("glClear"), std::vector<GlCall>{gl_call("glClear", {GL_COLOR_BUFFER_BIT})});
    EXPECT_TRUE(gl.named("glBegin").empty());
    EXPECT_EQ(gl.named("glDrawElements").size(), 1u);
    EXPECT_TRUE(gl.named("glBindTexture").empty()); // still bound since setup

    set_test_clock(10);
    gl.clear();
    draw_frame();
    EXPECT_EQ(gl.named("glViewport")[0], gl_call("glViewport", {0, 0, width, height}));
    EXPECT_DOUBLE_EQ(frame_clock.delta, 0.005); // measured from the previous frame
    EXPECT_DOUBLE_EQ(frame_clock.previous, 0.005);
}

TEST_F(FrameDriverTest, WithTheScenePassOffAFrameIsOnlyTheBackground)
{
    set_test_clock(0);
    start_scene(width, height);
    scene_switches.scene_pass_on = 0;
    set_test_clock(5);
    GlRecording gl;
    draw_frame();
    EXPECT_TRUE(gl.named("gluPerspective").empty());
    EXPECT_EQ(gl.named("glBegin").size(), 2u);
}

namespace
{

// Each glScissor as its box, each glClear of the colours as C.
std::string scissors_and_clears(const GlRecording& gl)
{
    std::string calls;
    for (const GlCall& call : gl.outer()) {
        if (call.name == "glClear")
            calls += call.args == std::vector<double>{GL_COLOR_BUFFER_BIT} ? "C " : "?";
        for (const double arg : call.name == "glScissor" ? call.args : std::vector<double>{})
            calls += std::to_string(static_cast<int>(arg)) + " ";
    }
    return calls;
}

} // namespace

// Pictures that make up one rectangle share one clear of it; one picture
// across monitors, some covered, is drawn on the seen ones only, not on all
// of their bounding box, after one fast clear of everything.
TEST_F(FrameDriverTest, PicturesAreClearedAndDrawnOnlyWhereTheyShow)
{
    const ScreenArea all = {0, 0, width, height}, left = {0, 0, 160, height},
                     right = {160, 0, 160, height}, low = {10, 10, 100, 50},
                     high = {10, 60, 100, 70}, short_right = {160, 0, 160, height - 9},
                     low_left = {0, 0, 160, 128}, low_right = {160, 0, 160, 128},
                     high_left = {0, 128, 160, 128}, inside = {40, 40, 100, 100};
    const struct {
        bool one_picture; // or a picture on each area
        std::vector<ScreenArea> areas;
        std::string calls; // each glScissor as its box, each glClear as C
    } cases[] = {
        {false, {left, right}, "0 0 320 256 C 0 0 160 256 160 0 160 256 "},
        {false, {high, low}, "10 10 100 120 C 10 60 100 70 10 10 100 50 "},
        {false, {left, short_right}, "0 0 160 256 C 160 0 160 247 C "}, // a gap above the right
        {false, {all, all}, "0 0 320 256 C 0 0 320 256 C "},            // one monitor twice
        {false, {right}, "160 0 160 256 C "},
        {true, {low_left, low_right, high_left}, "C 0 0 160 128 160 0 160 128 0 128 160 128 "},
        {true, {low_left, high_left}, "C 0 0 160 256 "}, // one rectangle: one go
        {true, {low_left, inside}, "C 0 0 160 140 "},    // overlapping: their box, once
        {true, {high_left}, "C 0 128 160 128 "},
    };
    set_test_clock(0);
    start_scene(width, height);
    for (const auto& c : cases) {
        GlRecording gl;
        step_frame();
        const int count = static_cast<int>(c.areas.size());
        if (c.one_picture)
            draw_picture_in_parts(all, c.areas.data(), count);
        else
            draw_pictures(c.areas.data(), count);
        EXPECT_EQ(scissors_and_clears(gl), c.calls);
    }
}

// The one clear that blacks what no picture covers is also each picture's
// background: where the scene tests depth, it must clear the depths too (with
// the depth mask open), or the last frame's punch holes in this one's sphere.
TEST_F(FrameDriverTest, TheClearThatBlacksAroundThePicturesClearsTheirDepthsToo)
{
    static constexpr ScreenArea right = {160, 0, 160, height};
    void (*const draws[])() = {[] { draw_pictures(&right, 1, true); },
                               [] {
                                   draw_picture_in_parts({0, 0, width, height}, &right, 1);
                               }};
    scene_settings.stars = true; // drawn tested against the sphere's depths
    set_test_clock(0);
    start_scene(width, height);
    for (const auto draw : draws) {
        GlRecording gl;
        step_frame();
        draw();
        std::string clears; // each glClear as its buffers, after the depth mask then
        double depth_mask = -1;
        for (const GlCall& call : gl.outer()) {
            if (call.name == "glDepthMask")
                depth_mask = call.args[0];
            if (call.name == "glClear")
                clears += std::to_string(static_cast<int>(call.args[0])) + " with mask " +
                          std::to_string(static_cast<int>(depth_mask)) + "; ";
        }
        EXPECT_EQ(clears,
                  std::to_string(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT) + " with mask 1; ");
    }
}
