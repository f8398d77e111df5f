#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "common/gl.h"
#include "content/scene_switches.h"
#include "content/star_field.h"
#include "scene/frame_driver.h"
#include "scene/scene_setup.h"
#include "support/gl_recorder.h"
#include "support/gl_test.h"
#include "textures/texture_kind.h"
#include "textures/texture_slot.h"
#include "views/view_manager.h"

namespace
{

struct Rgb {
    int r, g, b;
};

class Picture
{
public:
    Picture(std::vector<std::uint8_t> rgb, int width) : rgb_(std::move(rgb)), width_(width) {}
    // y counts from the bottom, as GL does.
    Rgb at(int x, int y) const
    {
        const std::size_t i = (static_cast<std::size_t>(y) * width_ + x) * 3;
        return {rgb_[i], rgb_[i + 1], rgb_[i + 2]};
    }

private:
    std::vector<std::uint8_t> rgb_;
    int width_;
};

} // namespace

class RenderTest : public GlTest
{
protected:
    // Runs the saver's start and the given frames at 5 ms apart.
    void run(int frames)
    {
        set_test_clock(0);
        fix_scene_seed(4242);
        client_width = width;
        client_height = height;
        set_fixed_gl_state();
        more_frames(frames);
    }

    void more_frames(int frames)
    {
        for (int i = 0; i < frames; ++i) {
            clock_ms += 5;
            set_test_clock(clock_ms);
            run_frame();
        }
    }

    std::int64_t clock_ms = 0;

    // Rows fully inside each band and inside the strip between them.
    int bottom_band_row() const
    {
        return static_cast<int>(height * view_manager.band_fraction) - 2;
    }
    int top_band_row() const { return height - 1 - bottom_band_row(); }
};

TEST_F(RenderTest, TheSphereShowsTintedGreyNoiseBetweenBlackBands)
{
    run(200);
    const Picture picture(context.read_rgb(), width);
    ASSERT_GT(bottom_band_row(), 0);
    for (int x = 0; x < width; x += 7) {
        const Rgb low = picture.at(x, bottom_band_row());
        const Rgb high = picture.at(x, top_band_row());
        ASSERT_EQ(low.r + low.g + low.b + high.r + high.g + high.b, 0) << "x " << x;
    }
    std::set<int> levels;
    long red = 0;
    long blue = 0;
    for (int x = 0; x < width; ++x) {
        const Rgb p = picture.at(x, height / 2);
        levels.insert(p.b);
        red += p.r;
        blue += p.b;
    }
    EXPECT_GT(levels.size(), 40u); // noise, not a flat colour
    EXPECT_GT(blue, red);          // the light's blue tint
}

TEST_F(RenderTest, WithoutTheSphereTheStripIsTheDarkBlueFill)
{
    run(2); // the second frame lays view 0 out over the whole window
    scene_switches.scene_pass_on = 0;
    more_frames(1);
    const Picture picture(context.read_rgb(), width);
    for (int x = 0; x < width; x += 7) {
        const Rgb fill = picture.at(x, height / 2);
        EXPECT_EQ(fill.r, 0);
        EXPECT_EQ(fill.g, 0);
        EXPECT_EQ(fill.b, 19); // 0.075 of full blue
        EXPECT_EQ(picture.at(x, 0).b, 0);
        EXPECT_EQ(picture.at(x, height - 1).b, 0);
    }
}

TEST_F(RenderTest, EveryLayerSwitchedOnIsDrawnAndTheStarListFreed)
{
    run(2);
    // Slot 0 gets an image, a bright disc, so that the overlays show.
    texture_slots[0].generate(SPHERE, 64, 64, GL_RGBA, 0);
    SceneSwitches& on = scene_switches;
    on.stars_on = on.particles_on = on.backdrop_overlay_on = on.modulate_overlay_on = 1;
    setup_star_field();
    setup_particles();
    GlRecording gl;
    more_frames(1);
    EXPECT_EQ(gl.named("glCallList").size(), 2u);  // two turned copies of the stars
    EXPECT_EQ(gl.named("glAlphaFunc").size(), 1u); // the particles' alpha test
    int quads = 0;
    for (const GlCall& begin : gl.named("glBegin"))
        quads += begin.args[0] == GL_QUADS;
    EXPECT_EQ(quads, 1 + 6 + 1); // backdrop, six particles, modulate: the background is a clear
    EXPECT_EQ(gl.named("glViewport").back(), gl_call("glViewport", {0, 0, width, height}));
    EXPECT_EQ(gl.named("glOrtho").back(), gl_call("glOrtho", {0, width, 0, height, -1, 1}));

    const Picture picture(context.read_rgb(), width);
    // The disc is black at its edge (filtering with the wrapped side: nearly).
    const Rgb edge = picture.at(0, height / 2);
    EXPECT_LT(edge.r + edge.g + edge.b, 30);
    const Rgb centre = picture.at(width / 2, height / 2);
    EXPECT_GT(centre.r + centre.g + centre.b, 0);
    const Rgb band = picture.at(width / 2, bottom_band_row()); // the backdrop shows
    EXPECT_GT(band.r + band.g + band.b, 0);

    const GLuint list = scene_stars.list;
    ASSERT_TRUE(glIsList(list));
    end_scene_context();
    EXPECT_FALSE(glIsList(list));
    EXPECT_EQ(last_bound_texture, no_texture_bound);
}
