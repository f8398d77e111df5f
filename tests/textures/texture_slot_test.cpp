#include <gtest/gtest.h>

#include <vector>

#include "common/gl.h"
#include "support/gl_recorder.h"
#include "support/gl_test.h"
#include "textures/texture_slot.h"

namespace
{

std::vector<GlCall> full_bind(unsigned name)
{
    return {gl_call("glBindTexture", {GL_TEXTURE_2D, double(name)}),
            gl_call("glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT}),
            gl_call("glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT}),
            gl_call("glTexEnvf", {GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE})};
}

} // namespace

class TextureSlotTest : public GlTest
{
};

TEST_F(TextureSlotTest, ABindOnlyReachesGlWhenTheCurrentTextureChanges)
{
    TextureSlot a;
    TextureSlot b;
    GlRecording gl;
    a.bind();
    ASSERT_NE(a.gl_name, 0u);
    std::vector<GlCall> expected = {gl_call("glGenTextures", {1, double(a.gl_name)})};
    for (const GlCall& call : full_bind(a.gl_name))
        expected.push_back(call);
    EXPECT_EQ(gl.all(), expected); // a name and a binding, but no image and no filter

    gl.clear();
    a.bind();
    EXPECT_TRUE(gl.all().empty());

    b.bind();
    gl.clear();
    a.bind();
    EXPECT_EQ(gl.all(), full_bind(a.gl_name));
    b.bind();
    EXPECT_EQ(gl.all().size(), 8u);

    // Once the context that held the binding is gone, nothing is bound.
    forget_bound_texture();
    gl.clear();
    b.bind();
    EXPECT_EQ(gl.all(), full_bind(b.gl_name));
}

TEST_F(TextureSlotTest, MipmappedFiltersPickTheNearestTexelOfTheNearestLevel)
{
    TextureSlot slot;
    slot.bind();
    GLint min_filter = 0;
    GLint mag_filter = 0;
    slot.set_filters(true);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min_filter);
    EXPECT_EQ(min_filter, GL_NEAREST_MIPMAP_NEAREST);
    slot.set_filters(false);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min_filter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag_filter);
    EXPECT_EQ(min_filter, GL_LINEAR);
    EXPECT_EQ(mag_filter, GL_LINEAR);
}

TEST_F(TextureSlotTest, OnlyASlotWithATextureDeletesOne)
{
    GlRecording gl;
    {
        TextureSlot never_bound;
    }
    EXPECT_TRUE(gl.all().empty());
    unsigned name = 0;
    {
        TextureSlot bound;
        bound.bind();
        name = bound.gl_name;
    }
    EXPECT_EQ(gl.all().back(), gl_call("glDeleteTextures", {1, double(name)}));

    // GL may hand the deleted name out again (Mesa does not, so the slot
    // is given it); the new texture must still be bound, or its image would
    // go into texture 0.
    TextureSlot next;
    next.gl_name = name;
    gl.clear();
    next.bind();
    EXPECT_EQ(gl.named("glBindTexture"),
              std::vector<GlCall>{gl_call("glBindTexture", {GL_TEXTURE_2D, double(name)})});
}
