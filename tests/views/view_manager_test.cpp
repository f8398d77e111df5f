#include <gtest/gtest.h>

#include <vector>

#include "common/gl.h"
#include "support/gl_recorder.h"
#include "support/gl_test.h"
#include "views/view_manager.h"

namespace
{

void expect_rect(const Rect& r, float x0, float y0, float x1, float y1)
{
    EXPECT_FLOAT_EQ(r.x0, x0);
    EXPECT_FLOAT_EQ(r.y0, y0);
    EXPECT_FLOAT_EQ(r.x1, x1);
    EXPECT_FLOAT_EQ(r.y1, y1);
}

std::vector<GlCall> quad(float x0, float y0, float x1, float y1)
{
    return {gl_call("glVertex2f", {x0, y0}), gl_call("glVertex2f", {x1, y0}),
            gl_call("glVertex2f", {x1, y1}), gl_call("glVertex2f", {x0, y1})};
}

void append(std::vector<GlCall>& to, const std::vector<GlCall>& more)
{
    to.insert(to.end(), more.begin(), more.end());
}

} // namespace

class ViewManagerTest : public GlTest
{
};

TEST(ViewManager, ViewZeroIsLaidOutAtOneHundredSquareUntilTheFirstLayout)
{
    ViewManager manager;
    manager.set_screen_size(1280.0f, 1024.0f);
    expect_rect(manager.views[0].pixel_rect, 0, 0, 100, 100);
    expect_rect(manager.views[1].pixel_rect, 0, 0, 0, 0);
    EXPECT_EQ(manager.view_count, 1);
}

TEST_F(ViewManagerTest, TheSceneViewSitsBetweenTheBandsAndItsViewportTruncates)
{
    ViewManager manager;
    manager.set_screen_size(1280.0f, 1024.0f);
    manager.band_fraction = 0.2f;
    manager.view_count = 2;
    manager.views[1].between_bands = 1;
    manager.layout_views();
    expect_rect(manager.views[0].pixel_rect, 0, 0, 1280, 1024);
    expect_rect(manager.views[1].pixel_rect, 0, 204.8f, 1280, 819.2f);
    expect_rect(manager.views[2].pixel_rect, 0, 0, 0, 0); // past the count: left alone

    GlRecording gl;
    manager.select_viewport(1);
    EXPECT_EQ(manager.current_view, 1);
    EXPECT_EQ(gl.all(), std::vector<GlCall>{gl_call("glViewport", {0, 204, 1280, 614})});

    // Bands that meet or overlap leave an empty strip in the middle, never an
    // inverted one, which GL would refuse and keep the last viewport instead.
    for (const float f : {0.6f, 0.5f}) {
        manager.band_fraction = f;
        manager.layout_views();
        gl.clear();
        manager.select_viewport(1);
        EXPECT_EQ(gl.all(), std::vector<GlCall>{gl_call("glViewport", {0, 512, 1280, 0})}) << f;
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[3], 0) << f;
    }
}

TEST_F(ViewManagerTest, RectanglesAreRelativeToTheScreenAreaAndOrthoEdgesTruncate)
{
    View view;
    view.set_rect(0.5, 0.0, 1.0, 0.5);
    view.set_screen_rect(10.0, 20.0, 810.0, 620.0);
    view.layout();
    expect_rect(view.pixel_rect, 410, 20, 810, 320);

    view.pixel_rect = {0.9f, 10.5f, 99.9f, 60.2f};
    GlRecording gl;
    view.apply_ortho();
    EXPECT_EQ(gl.named("glOrtho"), std::vector<GlCall>{gl_call("glOrtho", {0, 99, 10, 60, -1, 1})});
}

TEST_F(ViewManagerTest, WithoutBandsAnOpaqueBackgroundIsOneClear)
{
    ViewManager manager;
    manager.set_screen_size(1280.0f, 1024.0f);
    GlRecording gl;
    manager.draw_background();
    EXPECT_EQ(gl.all(), (std::vector<GlCall>{
                            gl_call("glDepthMask", {GL_TRUE}),
                            gl_call("glClear", {GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT})}));
}

TEST_F(ViewManagerTest, BandsAreBlackQuadsReachingOneUnitInAndTheFillLiesBetween)
{
    ViewManager manager;
    manager.set_screen_size(1280.0f, 1024.0f);
    manager.set_background(0.0f, 0.0f, 0.075f, 1.0f);
    manager.band_fraction = 0.2f;
    GlRecording gl;
    manager.draw_background();

    const float h = 1024.0f;
    const float f = 0.2f;
    std::vector<GlCall> expected = {
        gl_call("glDepthMask", {GL_TRUE}), gl_call("glClear", {GL_DEPTH_BUFFER_BIT}),
        gl_call("glDisable", {GL_BLEND}), gl_call("glColor4f", {0, 0, 0, 1}),
        gl_call("glBegin", {GL_QUADS})};
    append(expected, quad(0, 0, 1280, h * f + 1));       // up to 205.8
    append(expected, quad(0, (1 - f) * h - 1, 1280, h)); // from 818.2
    append(expected, {gl_call("glEnd"), gl_call("glColor4f", {0, 0, 0.075f, 1}),
                      gl_call("glBegin", {GL_QUADS})});
    append(expected, quad(0, h * f, 1280, (1 - f) * h - 1)); // 204.8 to 818.2
    expected.push_back(gl_call("glEnd"));
    EXPECT_EQ(gl.all(), expected);
}

TEST_F(ViewManagerTest, ATranslucentFillBlendsAndLeavesBlendingOn)
{
    ViewManager manager;
    manager.set_screen_size(200.0f, 100.0f);
    manager.background_alpha = 0.2f;
    GlRecording gl;
    manager.draw_background();
    const auto names = gl.outer_names();
    EXPECT_EQ(names[1], "glClear"); // depth only: the last frame shows through
    EXPECT_EQ(gl.all()[1].args, std::vector<double>{GL_DEPTH_BUFFER_BIT});
    const auto vertices = gl.named("glVertex2f");
    ASSERT_EQ(vertices.size(), 12u);
    EXPECT_EQ(vertices[2].args, (std::vector<double>{200, 1})); // one-unit bottom band
    EXPECT_EQ(vertices[4].args, (std::vector<double>{0, 99}));  // one-unit top band
    EXPECT_EQ(gl.named("glBlendFunc"),
              std::vector<GlCall>{gl_call("glBlendFunc", {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA})});
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
}
