#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "scene/frame_driver.h"
#include "textures/texture_slot.h"
#include "tools/offscreen_context.h"

// A test with a real offscreen GL context current. Each test runs in its own
// process, so the scene's globals start fresh every time.
class GlTest : public ::testing::Test
{
protected:
    static constexpr int width = 320;
    static constexpr int height = 256;

    GlTest() : context(width, height) {}
    void SetUp() override { ASSERT_TRUE(context.ready()) << "no offscreen GL context"; }
    // One frame of the scene over the whole context, as every top draws one.
    void draw_frame() const
    {
        step_frame();
        draw_picture({0, 0, width, height});
    }

    OffscreenContext context;
};

// Makes the scene's clock read the given milliseconds from now on.
void set_test_clock(std::int64_t ms);

// The image of a slot's texture as GL holds it, rows from 0 up, no padding.
std::vector<std::uint8_t> read_texture(const TextureSlot& slot, unsigned format,
                                       int bytes_per_texel);
