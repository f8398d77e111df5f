#include <gtest/gtest.h>

#include <vector>

#include "common/gl.h"
#include "content/screen_overlays.h"
#include "support/gl_recorder.h"
#include "support/gl_test.h"
#include "textures/texture_slot.h"
#include "views/view_manager.h"

class ScreenOverlaysTest : public GlTest
{
};

TEST_F(ScreenOverlaysTest, TheQuadSpansTheScreenWithTheWholeTexture)
{
    view_manager.set_screen_size(320.0f, 256.0f);
    GlRecording gl;
    draw_backdrop_overlay();
    const std::vector<GlCall> quad = {
        gl_call("glBegin", {GL_QUADS}),    gl_call("glTexCoord2d", {0, 0}),
        gl_call("glVertex2f", {0, 0}),     gl_call("glTexCoord2d", {1, 0}),
        gl_call("glVertex2f", {320, 0}),   gl_call("glTexCoord2d", {1, 1}),
        gl_call("glVertex2f", {320, 256}), gl_call("glTexCoord2d", {0, 1}),
        gl_call("glVertex2f", {0, 256}),   gl_call("glEnd")};
    const auto& calls = gl.all();
    const auto begin = std::find(calls.begin(), calls.end(), gl_call("glBegin", {GL_QUADS}));
    ASSERT_NE(begin, calls.end());
    EXPECT_EQ(std::vector<GlCall>(begin, begin + 10), quad);
    EXPECT_EQ(calls.front(), gl_call("glBlendFunc", {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}));
    EXPECT_EQ(gl.named("glEnable"), (std::vector<GlCall>{gl_call("glEnable", {GL_BLEND}),
                                                         gl_call("glEnable", {GL_TEXTURE_2D})}));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(last_bound_texture, texture_slots[0].gl_name); // the particles' slot
}

TEST_F(ScreenOverlaysTest, TheModulateOverlayLeavesDepthAndLightingOff)
{
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glDepthMask(GL_TRUE);
    GlRecording gl;
    draw_modulate_overlay();
    EXPECT_EQ(gl.all().front(), gl_call("glBlendFunc", {GL_ZERO, GL_SRC_COLOR}));
    GLboolean depth_writes = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depth_writes);
    EXPECT_FALSE(depth_writes);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}
