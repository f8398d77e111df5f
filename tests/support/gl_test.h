#pragma once
#include <gtest/gtest.h>

#include <cstdint>

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

    OffscreenContext context;
};

// Makes the scene's clock read the given milliseconds from now on.
void set_test_clock(std::int64_t ms);
