#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "flash/flash_files.h"
#include "tools/png_file.h"

namespace
{

struct Colour {
    std::uint8_t r, g, b;
};
const Colour black{0, 0, 0};
const Colour white{255, 255, 255};

// A patch of the frame that switches between two colours `rate` times a
// second over a still background, for a second and a half at 60 frames; or
// checks of that side, the colours swapping places.
struct Flashing {
    const char* name;
    int width, height;
    FlashArea patch;
    int checks;
    Colour on, off;
    double rate;
    double general, red; // the worst second's flashes
};

FlashReport check(const Flashing& flashing)
{
    constexpr double fps = 60;
    FlashCheck check(flashing.width, flashing.height, fps);
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(flashing.width) * flashing.height * 3);
    for (int n = 0; n < 90; ++n) {
        const bool on = static_cast<int>(n * 2 * flashing.rate / fps) % 2 == 0;
        for (int y = 0; y < flashing.height; ++y)
            for (int x = 0; x < flashing.width; ++x) {
                const FlashArea& p = flashing.patch;
                const bool inside =
                    x >= p.left && x < p.left + p.width && y >= p.top && y < p.top + p.height;
                const bool odd = flashing.checks && (x / flashing.checks + y / flashing.checks) % 2;
                const Colour c = !inside ? black : on != odd ? flashing.on : flashing.off;
                std::uint8_t* pixel =
                    &frame[(static_cast<std::size_t>(y) * flashing.width + x) * 3];
                pixel[0] = c.r;
                pixel[1] = c.g;
                pixel[2] = c.b;
            }
        check.add_frame(frame.data());
    }
    return check.report();
}

const Flashing cases[] = {
    {"black and white at 3.5 a second", 160, 120, {0, 0, 160, 120}, 0, white, black, 3.5, 3.5, 0},
    {"black and white at 2 a second", 160, 120, {0, 0, 160, 120}, 0, white, black, 2, 2, 0},
    {"two bright greys at 10 a second",
     160,
     120,
     {0, 0, 160, 120},
     0,
     {255, 255, 255},
     {240, 240, 240},
     10,
     0,
     0},
    // A luminance swing of 0.09 alone; (R - G - B) x 320 swings by 135.
    {"saturated red and dark red at 4 a second",
     160,
     120,
     {0, 0, 160, 120},
     0,
     {255, 0, 0},
     {200, 0, 0},
     4,
     0,
     4},
    {"a 64x64 square at 10 a second", 1024, 768, {400, 300, 64, 64}, 0, white, black, 10, 0, 0},
    // 200x140 is more than a quarter of a 341x256 field.
    {"a 200x140 square at 10 a second",
     1024,
     768,
     {400, 300, 200, 140},
     0,
     white,
     black,
     10,
     10,
     0},
    // At 1280 wide a tenth of a degree is 4.3 pixels.
    {"checks of 1 pixel at 10 a second", 1280, 960, {0, 0, 1280, 960}, 1, white, black, 10, 0, 0},
    {"checks of 16 pixels at 10 a second",
     1280,
     960,
     {0, 0, 1280, 960},
     16,
     white,
     black,
     10,
     10,
     0},
    {"a still picture", 160, 120, {0, 0, 160, 120}, 0, white, white, 0, 0, 0},
};

TEST(FlashCheck, CountsTheWorstSecondOfEachKindOverTheAreaLimit)
{
    for (const Flashing& flashing : cases) {
        const FlashReport report = check(flashing);
        EXPECT_EQ(report.general.flashes, flashing.general) << flashing.name;
        EXPECT_EQ(report.red.flashes, flashing.red) << flashing.name;
        EXPECT_EQ(over_flash_limit(report), flashing.general > 3 || flashing.red > 3)
            << flashing.name;
    }
}

TEST(FlashCheck, ReadsFramesFromPngFilesAndRefusesWhatItCannotCompare)
{
    const std::string dir = ::testing::TempDir();
    const std::vector<std::uint8_t> dark(8 * 6 * 3, 0), light(8 * 6 * 3, 255);
    std::vector<std::string> files;
    for (int n = 0; n < 12; ++n) { // a transition every frame: 5 flashes in 10 frames
        files.push_back(dir + "flash-" + std::to_string(n) + ".png");
        ASSERT_TRUE(write_png(files.back(), 8, 6, n % 2 ? light : dark));
    }
    FlashReport report;
    std::string error;
    ASSERT_TRUE(check_png_frames(files, 10, report, error)) << error;
    EXPECT_EQ(report.general.flashes, 5);
    EXPECT_EQ(report.general.first_frame, 1);

    const std::string other = dir + "flash-other.png";
    ASSERT_TRUE(write_png(other, 6, 8, dark));
    for (const std::string& bad : {other, dir + "flash-none.png", std::string("/")}) {
        error.clear();
        EXPECT_FALSE(check_png_frames({files[0], bad}, 10, report, error)) << bad;
        EXPECT_NE(error.find(bad), std::string::npos) << error;
    }
    for (const std::string& file : files)
        unlink(file.c_str());
    unlink(other.c_str());
}

} // namespace
