#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/snapshot_options.h"

namespace
{

bool parse(std::vector<const char*> args, SnapshotOptions& options, std::string& error)
{
    return parse_snapshot_options(static_cast<int>(args.size()), args.data(), options, error);
}

} // namespace

TEST(SnapshotOptions, DefaultsAndEveryOption)
{
    SnapshotOptions options;
    std::string error;
    ASSERT_TRUE(parse({}, options, error));
    EXPECT_EQ(options.width, 1280);
    EXPECT_EQ(options.height, 1024);
    EXPECT_EQ(options.step_ms, 5);
    EXPECT_FALSE(options.seed_fixed);

    ASSERT_TRUE(parse({"--size", "64x48", "--frames", "3", "--step-ms", "0", "--seed", "4294967295",
                       "-o", "x.png"},
                      options, error));
    EXPECT_EQ(options.width, 64);
    EXPECT_EQ(options.height, 48);
    EXPECT_EQ(options.frames, 3);
    EXPECT_EQ(options.step_ms, 0);
    EXPECT_TRUE(options.seed_fixed);
    EXPECT_EQ(options.seed, 4294967295u);
    EXPECT_EQ(options.output, "x.png");
    EXPECT_EQ(options.texture_kind, -1);
    EXPECT_FALSE(options.help);

    // The largest values allowed, the last kind, and help in either spelling.
    // A texture by the word a person reads, in any case.
    ASSERT_TRUE(
        parse({"--size", "8192x8192", "--step-ms", "3600000", "--texture-only", "Noise", "-h"},
              options, error));
    EXPECT_EQ(options.width * options.height, 8192 * 8192);
    EXPECT_EQ(options.step_ms, 3600000);
    EXPECT_EQ(options.texture_kind, 14);
    EXPECT_TRUE(options.help);
    SnapshotOptions help;
    ASSERT_TRUE(parse({"--texture-only", "sphere", "--help"}, help, error)); // its label, any case
    EXPECT_EQ(help.texture_kind, 0);
    EXPECT_TRUE(help.help);
    EXPECT_EQ(options.every, 0);
    ASSERT_TRUE(parse({"--every", "25"}, options, error));
    EXPECT_EQ(options.every, 25);
    ASSERT_TRUE(parse({"--new-texture", "120:smoke"}, options, error)); // a word, any case
    EXPECT_EQ(options.new_texture_kind, SMOKE);
    // The saver's settings, as its display mode takes them; a texture by
    // the word a person knows it by, in any case.
    ASSERT_TRUE(parse({"--texture", "Horizon", "--stars", "--overlays", "--no-overlays", "--speed",
                       "0.5", "--particles"},
                      options, error));
    EXPECT_EQ(options.settings.texture, GRADIENT);
    EXPECT_TRUE(options.settings.stars && options.settings.particles);
    EXPECT_FALSE(options.settings.overlays);
    EXPECT_EQ(options.settings.speed_percent, 50);
}

TEST(SnapshotOptions, SequencePicturesAreNumberedBeforeTheExtension)
{
    EXPECT_EQ(numbered_path("out.png", 7), "out-000007.png");
    EXPECT_EQ(numbered_path("frames/a.b/out.png", 1200), "frames/a.b/out-001200.png");
    // Without the extension the number goes at the end, and the name gets one.
    EXPECT_EQ(numbered_path("out", 12), "out-000012.png");
    EXPECT_EQ(numbered_path(".png", 3), ".png-000003.png");
}

TEST(SnapshotOptions, BadOptionsAreRefusedWithAReason)
{
    const std::vector<std::vector<const char*>> bad = {
        {"--bogus"},          {"--size"},
        {"--size", "64"},     {"--size", "0x48"},
        {"--size", "64x"},    {"--size", "-64x48"},
        {"--size", "9000x8"}, {"--frames", "0"},
        {"--frames", "ten"},  {"--frames", "1e3"},
        {"--step-ms", "-5"},  {"--seed", "4294967296"},
        {"--seed", " 1"},     {"--texture", "smog"},
        {"-o", ""},           {"--frames", "99999999999999999999999"},
        {"--every", "0"},     {"--every", "-1"},
        {"--every"},          {"--step-ms", "3600001"},
        {"--size", "8193x8"}, {"--texture", "BLACK"},
        {"--speed", "4.01"},  {"--speed", "0.2"},
        {"--speed", "-1"},    {"--speed"},
        {"--size", "64x0"},   {"--on-battery", "black"},
        {"--new-texture", "SMOKE"}, {"--new-texture", "0:SMOKE"},
        {"--new-texture", "9:smog"}, {"--monitor-added", "0"}};
    for (const auto& args : bad) {
        SnapshotOptions options;
        std::string error;
        EXPECT_FALSE(parse(args, options, error)) << args[0];
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
    SnapshotOptions options;
    std::string error;
    EXPECT_FALSE(parse({"--texture-only", "different"}, options, error)); // no one kind
}
