#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/flash_files.h"
#include "tools/png_file.h"

namespace
{

struct Colour {
    std::uint8_t r, g, b;
};
const Colour black{0, 0, 0};
const Colour white{255, 255, 255};

// The middle of a frame (a square of that side, or all of it) switching
// between two colours `rate` times a second over black, for a second and a
// half at 60 frames; or checks of that side, the colours swapping places.
struct Flashing {
    const char* name;
    int width, square, checks;
    Colour on, off;
    double rate, general, red; // the last two: the worst second's flashes
};

FlashReport check(const Flashing& f)
{
    const int height = f.width * 3 / 4;
    FlashCheck check(f.width, height, 60);
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(f.width) * height * 3);
    for (int n = 0; n < 90; ++n) {
        const bool on = static_cast<int>(n * 2 * f.rate / 60) % 2 == 0;
        std::uint8_t* pixel = frame.data();
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < f.width; ++x, pixel += 3) {
                const bool inside = !f.square || (std::abs(2 * x - f.width) < f.square &&
                                                  std::abs(2 * y - height) < f.square);
                const bool odd = f.checks && (x / f.checks + y / f.checks) % 2;
                const Colour c = !inside ? black : on != odd ? f.on : f.off;
                pixel[0] = c.r;
                pixel[1] = c.g;
                pixel[2] = c.b;
            }
        check.add_frame(frame.data());
    }
    return check.report();
}

const Flashing cases[] = {
    {"3.5 a second", 160, 0, 0, white, black, 3.5, 3.5, 0},
    {"2 a second", 160, 0, 0, white, black, 2, 2, 0},
    {"bright greys", 160, 0, 0, white, {240, 240, 240}, 10, 0, 0},
    // A luminance swing of 0.09 alone; (R - G - B) x 320 swings by 135.
    {"red and dark red", 160, 0, 0, {255, 0, 0}, {200, 0, 0}, 4, 0, 4},
    {"a 64x64 square", 1024, 64, 0, white, black, 10, 0, 0},
    // More than a quarter of a 341x256 field.
    {"a 160x160 square", 1024, 160, 0, white, black, 10, 10, 0},
    // At 1280 wide a tenth of a degree is 4.3 pixels.
    {"checks of 1 pixel", 1280, 0, 1, white, black, 10, 0, 0},
    {"checks of 16 pixels", 1280, 0, 16, white, black, 10, 10, 0},
    {"a still picture", 160, 0, 0, white, white, 0, 0, 0},
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
    const std::string dir = ::testing::TempDir() + "flash-";
    std::vector<std::string> files;
    for (int n = 0; n < 12; ++n) { // a transition every frame: 5 flashes in 10 frames
        files.push_back(dir + std::to_string(n) + ".png");
        ASSERT_TRUE(
            write_png(files.back(), 8, 6, std::vector<std::uint8_t>(8 * 6 * 3, n % 2 ? 255 : 0)));
    }
    files.push_back(dir + "none.png");
    FlashReport report;
    std::string error;
    ASSERT_TRUE(check_png_frames({files.begin(), files.end() - 1}, 10, report, error)) << error;
    EXPECT_EQ(report.general.flashes, 5);
    EXPECT_EQ(report.general.first_frame, 1);
    ASSERT_TRUE(write_png(files[1], 6, 8, std::vector<std::uint8_t>(6 * 8 * 3)));
    ASSERT_TRUE(write_png(files[2], 20000, 1, std::vector<std::uint8_t>(20000 * 3)));
    EXPECT_FALSE(check_png_frames({files[2]}, 10, report, error)); // wider than any screen
    for (const std::string& bad : {files[1], files.back(), std::string("/")}) {
        EXPECT_FALSE(check_png_frames({files[0], bad}, 10, report, error)) << bad;
        EXPECT_NE(error.find(bad), std::string::npos) << error;
    }
    for (const std::string& file : files)
        unlink(file.c_str());
}

} // namespace
