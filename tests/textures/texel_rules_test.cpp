#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "common/gl.h"
#include "common/random.h"
#include "support/generator_replay.h"
#include "support/gl_test.h"
#include "textures/texture_kind.h"
#include "textures/texture_slot.h"

namespace
{

using Texel = std::array<int, 4>;

// A generated texture, read back from GL as the sphere would wear it.
class Image
{
public:
    Image(int kind, int width, int height, GLenum format = GL_RGBA)
        : width_(width), channels_(format == GL_RGBA ? 4 : 2)
    {
        status = slot.generate(kind, width, height, format, 0);
        bytes_ = read_texture(slot, format, channels_);
    }
    Texel at(int x, int y) const
    {
        const std::uint8_t* p = &bytes_[(static_cast<std::size_t>(y) * width_ + x) * channels_];
        return channels_ == 4 ? Texel{p[0], p[1], p[2], p[3]} : Texel{p[0], p[1], 0, 0};
    }
    int brightest() const { return *std::max_element(bytes_.begin(), bytes_.end()); }
    int darkest() const { return *std::min_element(bytes_.begin(), bytes_.end()); }

    TextureSlot slot;
    int status = -1;

private:
    int width_;
    int channels_;
    std::vector<std::uint8_t> bytes_;
};

Texel grey(int v)
{
    return {v, v, v, v};
}

// The shared generator's draws, replayed on the side.
struct Replay {
    std::uint32_t state;
    double scaled(double x)
    {
        const int draw = next_draw(state);
        state = state_after_draws(state, 1);
        return draw / 32768.0 * x;
    }
};

// Texels of the image whose grey differs from the expected value's byte.
template <typename Expected> int texels_off(const Image& image, int width, int height, Expected f)
{
    int off = 0;
    for (int i = 0; i < width * height; ++i)
        off += image.at(i % width, i / width)[0] != static_cast<int>(f(i));
    return off;
}

} // namespace

class TexelRulesTest : public GlTest
{
};

TEST_F(TexelRulesTest, DiscsAreBrightOrDarkInTheMiddleAndFlatBeyondTheRadius)
{
    const Image sphere(SPHERE, 128, 128);
    const Image hole(NOTSPHERE, 128, 128);
    EXPECT_EQ(sphere.at(64, 64), grey(255));
    EXPECT_EQ(hole.at(64, 64), grey(0));
    for (const auto& [x, y] : {std::pair{0, 64}, {64, 0}, {127, 127}, {0, 0}, {110, 110}}) {
        EXPECT_EQ(sphere.at(x, y), grey(0)) << x << "," << y;
        EXPECT_EQ(hole.at(x, y), grey(255)) << x << "," << y;
    }
}

TEST_F(TexelRulesTest, PatternsFollowTheirRows)
{
    const Image check(CHECK, 16, 16);
    EXPECT_EQ(check.at(0, 0), (Texel{255, 255, 255, 1})); // alpha 1, not 255
    EXPECT_EQ(check.at(4, 0), (Texel{0, 0, 0, 0}));
    EXPECT_EQ(check.at(4, 4), check.at(0, 0));
    EXPECT_EQ(check.at(8, 0), check.at(0, 0)); // squares of 4 alternate
    const Image check_la(CHECK, 16, 16, GL_LUMINANCE_ALPHA);
    EXPECT_EQ(check_la.at(0, 0), (Texel{1, 1, 0, 0}));
    EXPECT_EQ(check_la.at(4, 0), (Texel{0, 0, 0, 0}));

    const Image grille(GRILLE, 16, 16);
    EXPECT_EQ(grille.at(0, 5), grey(255));
    EXPECT_EQ(grille.at(8, 3), grey(255));
    EXPECT_EQ(grille.at(1, 1), grey(0));

    const Image gradient(GRADIENT, 4, 256);
    EXPECT_EQ(gradient.at(3, 0), grey(240));
    EXPECT_EQ(gradient.at(0, 128), grey(0));
    EXPECT_EQ(gradient.at(2, 200), grey(196)); // -60 wraps

    const Image black(BLACK, 4, 4, GL_LUMINANCE_ALPHA);
    EXPECT_EQ(black.at(1, 1), (Texel{255, 255, 0, 0}));
}

TEST_F(TexelRulesTest, RingAndStarPeakWhereTheirRulesSay)
{
    const Image ring(RING, 128, 128);
    EXPECT_EQ(ring.at(64, 64), grey(0));
    EXPECT_EQ(ring.at(64 + 58, 64), grey(255));
    EXPECT_EQ(ring.at(64, 64 - 58), grey(255));
    EXPECT_EQ(ring.at(64, 64 + 63), grey(79));     // fading: 255 * (9 - 8 * 63 / 58)
    EXPECT_EQ(ring.at(64 + 47, 64 + 47), grey(0)); // 66.5 away
    EXPECT_EQ(ring.at(0, 0), grey(0));

    const Image star(STAR, 64, 32);
    EXPECT_EQ(star.at(32, 16), grey(255));
    EXPECT_EQ(star.at(16, 8), grey(63)); // half way on both axes: a quarter
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(star.at(i * 2, 0), grey(0));
        EXPECT_EQ(star.at(0, i), grey(0));
    }
}

TEST_F(TexelRulesTest, SandDrawsOnceOrTwiceATexelInOrder)
{
    seed_random(2024);
    const Image sand(SAND, 256, 256);
    // Replay the draws: a second draw for every texel that is not a speck.
    std::uint32_t state = 2024;
    long draws = 0;
    int black = 0;
    int white = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const int k = next_draw(state);
            state = state_after_draws(state, 1);
            ++draws;
            const Texel t = sand.at(x, y);
            if (k < 33) { // u < 0.001
                ASSERT_EQ(t, (Texel{0, 0, 0, 255}));
                ++black;
            } else if (k < 66) { // u < 0.002
                ASSERT_EQ(t, grey(255));
                ++white;
            } else {
                state = state_after_draws(state, 1);
                ++draws;
                ASSERT_GE(t[0], 127);
                ASSERT_LE(t[0], 253);
                ASSERT_EQ(t[3], t[0]);
                ASSERT_NEAR(t[1], 0.8 * t[0], 1.0);
                ASSERT_NEAR(t[2], 0.6 * t[0], 1.0);
            }
        }
    }
    EXPECT_EQ(random_state(), state_after_draws(2024, draws));
    EXPECT_NEAR(black, 65536 / 1000, 30);
    EXPECT_NEAR(white, 65536 / 1000, 30);
}

TEST_F(TexelRulesTest, SmokeLaysThirteenDrawsPerBlobAndScalesToFull)
{
    seed_random(77);
    const Image smoke(SMOKE, 256, 256);
    EXPECT_EQ(random_state(), state_after_draws(77, 13 * 100));
    EXPECT_GE(smoke.brightest(), 254);
    EXPECT_GE(smoke.slot.blob_radius, 10);
    EXPECT_LE(smoke.slot.blob_radius, 71);

    seed_random(77);
    const Image again(SMOKE, 256, 256);
    EXPECT_EQ(again.at(128, 128), smoke.at(128, 128));
    EXPECT_EQ(again.at(3, 250), smoke.at(3, 250));

    // Blobs of fading discs, wider than tall, summed and scaled to the
    // brightest: the values the reference pictures' smoke was drawn with.
    seed_random(78);
    const Image wide(SMOKE, 128, 64);
    std::vector<int> middle_row;
    long total = 0;
    for (int t = 0; t < 128 * 64; ++t) {
        total += wide.at(t % 128, t / 128)[0];
        if (t / 128 == 32 && t % 8 == 0)
            middle_row.push_back(wide.at(t % 128, 32)[0]);
    }
    EXPECT_EQ(wide.slot.blob_radius, 9);
    EXPECT_EQ(middle_row, (std::vector<int>{1, 13, 38, 60, 91, 142, 202, 234, 250, 218, 176, 131,
                                            82, 40, 9, 0}));
    EXPECT_EQ(total, 494880);
}

TEST_F(TexelRulesTest, FogMakesThreeDrawsAPassAndStretchesToTheFullRange)
{
    seed_random(5);
    const Image fog(FOG, 256, 256);
    EXPECT_EQ(random_state(), state_after_draws(5, 3 * 60));
    EXPECT_EQ(fog.brightest(), 255);
    EXPECT_EQ(fog.darkest(), 0); // the farthest texels, limited, not wrapped

    // Distances to each pass's point, the shorter way round in both directions,
    // stretched over the whole-numbered part of their range: nearest brightest.
    Replay draw{5};
    std::vector<float> sums(256 * 256, 0.0f);
    for (int i = 0; i < 60; ++i) {
        const int radius = std::max(static_cast<int>(draw.scaled(25.6) + 6.4), 1);
        const int px = static_cast<int>(draw.scaled(256.0));
        const int py = static_cast<int>(draw.scaled(256.0));
        for (int t = 0; t < 256 * 256; ++t) {
            const int dx = std::min(std::abs(t % 256 - px), 256 - std::abs(t % 256 - px));
            const int dy = std::min(std::abs(t / 256 - py), 256 - std::abs(t / 256 - py));
            sums[t] += std::sqrt(static_cast<float>(dx * dx + dy * dy)) / float(radius);
        }
    }
    const float low = *std::min_element(sums.begin(), sums.end());
    const float high = *std::max_element(sums.begin(), sums.end());
    const float range = std::trunc(high - low);
    EXPECT_EQ(texels_off(fog, 256, 256,
                         [&](int t) {
                             return 255.0f * std::clamp(1.0f - (sums[t] - low) / range, 0.f, 1.f);
                         }),
              0);
}

TEST_F(TexelRulesTest, AccumulatingKindsNeverLeaveTheirGridOrDivideByZero)
{
    const Image wide_smoke(SMOKE, 257, 16);
    EXPECT_EQ(wide_smoke.status, 1);
    const Image tall_fog(FOG, 16, 257);
    EXPECT_EQ(tall_fog.status, 1);
    EXPECT_EQ(Image(GRILLE, 257, 16).status, 0); // only the grid kinds are limited

    const Image tiny_smoke(SMOKE, 8, 8); // radius 0 by the formula
    EXPECT_EQ(tiny_smoke.slot.blob_radius, 1);
    EXPECT_GE(tiny_smoke.brightest(), 254);
    const Image flat_fog(FOG, 1, 1); // one texel: no range at all
    EXPECT_EQ(flat_fog.at(0, 0), grey(255));

    TextureSlot no_blobs;
    no_blobs.blob_count = 0;
    ASSERT_EQ(no_blobs.generate(SMOKE, 8, 8, GL_RGBA, 0), 0);
    EXPECT_EQ(read_texture(no_blobs, GL_RGBA, 4), std::vector<std::uint8_t>(8 * 8 * 4, 0));
}
