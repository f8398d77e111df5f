#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "common/gl.h"
#include "common/random.h"
#include "support/generator_replay.h"
#include "support/gl_recorder.h"
#include "support/gl_test.h"
#include "textures/texture_kind.h"
#include "textures/texture_slot.h"

class TextureSynthesisTest : public GlTest
{
};

TEST_F(TextureSynthesisTest, FleckIsGreyNoiseWithOneDrawPerTexel)
{
    TextureSlot slot;
    const std::uint32_t expected_end = state_after_draws(1, 256 * 256);
    seed_random(1);
    ASSERT_EQ(slot.generate(FLECK, 256, 256, GL_RGBA, 0), 0);
    EXPECT_EQ(random_state(), expected_end);

    const auto texels = read_texture(slot, GL_RGBA, 4);
    const std::uint8_t first_row[] = {0, 143, 49, 206}; // draws 41, 18467, 6334, 26500
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(texels[x * 4], first_row[x]) << "texel " << x;
    for (std::size_t i = 0; i < texels.size(); i += 4) {
        ASSERT_LE(texels[i], 254);
        ASSERT_EQ(texels[i + 1], texels[i]);
        ASSERT_EQ(texels[i + 2], texels[i]);
        ASSERT_EQ(texels[i + 3], texels[i]);
    }

    TextureSlot again;
    seed_random(1);
    again.generate(FLECK, 256, 256, GL_RGBA, 0);
    EXPECT_EQ(read_texture(again, GL_RGBA, 4), texels);
}

TEST_F(TextureSynthesisTest, LuminanceAlphaCarriesTheGreyLevelTwice)
{
    TextureSlot slot;
    seed_random(1);
    slot.generate(FLECK, 4, 1, GL_LUMINANCE_ALPHA, 0);
    EXPECT_EQ(read_texture(slot, GL_LUMINANCE_ALPHA, 2),
              (std::vector<std::uint8_t>{0, 0, 143, 143, 49, 49, 206, 206}));
}

TEST_F(TextureSynthesisTest, MoreThan65536TexelsAreRefusedWithoutTouchingGl)
{
    TextureSlot slot;
    GlRecording gl;
    EXPECT_EQ(slot.generate(FLECK, 256, 257, GL_LUMINANCE_ALPHA, 0), 1);
    EXPECT_TRUE(gl.all().empty());
    EXPECT_EQ(texture_count, 0);
    EXPECT_EQ(slot.registry_index, -1);
    EXPECT_EQ(slot.width, 256); // the refused values still show
    EXPECT_EQ(slot.height, 257);
    EXPECT_EQ(slot.format, unsigned(GL_LUMINANCE_ALPHA));

    EXPECT_EQ(slot.generate(FLECK, -1, 1, GL_RGBA, 0), 1);
    EXPECT_EQ(slot.generate(FLECK, 65536, 65536, GL_RGBA, 0), 1); // would overflow int
    EXPECT_EQ(slot.generate(FLECK, 65536, 1, GL_RGBA, 0), 0);
    EXPECT_EQ(texture_count, 1);
}

TEST_F(TextureSynthesisTest, AMipmappedUploadSpecifiesLevelZeroTwice)
{
    TextureSlot slot;
    GlRecording gl;
    slot.generate(FLECK, 8, 8, GL_RGBA, 1);
    const auto names = gl.outer_names();
    const std::vector<std::string> tail(names.end() - 2, names.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"glTexImage2D", "gluBuild2DMipmaps"}));
    EXPECT_EQ(gl.named("gluBuild2DMipmaps")[0].args,
              (std::vector<double>{GL_TEXTURE_2D, 4, 8, 8, GL_RGBA, GL_UNSIGNED_BYTE}));
    GLint min_filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min_filter);
    EXPECT_EQ(min_filter, GL_NEAREST_MIPMAP_NEAREST);
}

TEST_F(TextureSynthesisTest, KindsWithoutARuleUploadTransparentBlack)
{
    TextureSlot noise;
    noise.generate(FLECK, 16, 16, GL_RGBA, 0); // leaves noise in the working buffer
    TextureSlot slot;
    EXPECT_EQ(slot.generate(KIND9, 16, 16, GL_RGBA, 0), 0);
    EXPECT_EQ(read_texture(slot, GL_RGBA, 4), std::vector<std::uint8_t>(16 * 16 * 4, 0));
    EXPECT_EQ(texture_names[1][0], '\0'); // and no registered name
}

TEST_F(TextureSynthesisTest, TheRegistryRecordsEachGenerationUntilItIsFull)
{
    TextureSlot slot;
    for (int i = 0; i < texture_registry_size + 2; ++i)
        ASSERT_EQ(slot.generate(FLECK, 2, 2, GL_RGBA, 0), 0);
    EXPECT_EQ(texture_registry[0], &slot);
    EXPECT_EQ(texture_registry[texture_registry_size - 1], &slot);
    EXPECT_STREQ(texture_names[texture_registry_size - 1], "FLECK");
    EXPECT_EQ(slot.registry_index, -1); // the latest generations are not recorded
    EXPECT_EQ(texture_count, texture_registry_size + 2);
}
