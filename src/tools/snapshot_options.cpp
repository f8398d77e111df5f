#include "tools/snapshot_options.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

std::string snapshot_usage()
{
    return "usage: orbdrift-snapshot [--size WxH] [--frames N] [--step-ms M] [--seed S]\n"
           "                         [--every N] [--texture-only KIND] [--new-texture N:KIND]\n"
           "                         [--monitor-added N] [--quick] [-o FILE]\n" +
           settings_synopsis(25, as_snapshot_option) +
           "Renders the saver's scene offscreen with a simulated clock and writes the last\n"
           "frame as a PNG.\n"
           "  --size WxH    picture size in pixels (default 1280x1024, at most 8192 each)\n"
           "  --frames N    frames to run after the scene starts (default 400, at least 1)\n"
           "  --step-ms M   simulated milliseconds between frames (default 5)\n"
           "  --seed S      fixed random seed, 0 to 4294967295: same options, same picture\n"
           "  --every N     also writes frames N, 2N, ... as FILE-000N.png (FILE without .png)\n"
           "  --texture-only KIND  writes a 256 x 256 texture instead, one that --texture\n"
           "                names (random ones start from the generator's start state\n"
           "                unless --seed is given)\n"
           "  --new-texture N:KIND  from frame N on, the sphere wears a texture of that\n"
           "                kind, as a wallpaper's new day brings it\n"
           "  --monitor-added N  from frame N on, a second monitor beside the first, each\n"
           "                with a picture of its own\n"
           "  --quick       packs the PNGs in half the time, a little larger\n"
           "  -o FILE       output file (default orbdrift.png)\n"
           "The saver's settings, as its display mode takes them:\n" +
           settings_help(as_snapshot_option);
}

std::string picture_usage()
{
    return "usage: orbdrift-picture [--size WxH] [-o FILE]\n" +
           settings_synopsis(24, as_snapshot_option) +
           "Writes the saver's picture of this moment as a PNG, with the saved settings,\n"
           "for a lock screen to show.\n"
           "  --size WxH    picture size in pixels, at most 8192 each (default the size\n"
           "                of the screen: the largest Wayland output, else the X screen,\n"
           "                else 1920x1080)\n"
           "  -o FILE       output file (default orbdrift.png)\n"
           "The saver's settings, given here over the saved ones:\n" +
           settings_help(as_snapshot_option);
}

namespace
{

constexpr std::int64_t moment_span_ms = 10 * 60 * 1000;

// Whole decimal numbers only: no sign, no blanks, no trailing text.
bool parse_number(const std::string& text, unsigned long long max, unsigned long long& out)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (errno == ERANGE || value > max)
        return false;
    out = value;
    return true;
}

bool parse_size(const std::string& text, SnapshotOptions& options)
{
    const std::size_t x = text.find('x');
    if (x == std::string::npos)
        return false;
    unsigned long long w = 0;
    unsigned long long h = 0;
    if (!parse_number(text.substr(0, x), max_picture_side, w) ||
        !parse_number(text.substr(x + 1), max_picture_side, h) || w == 0 || h == 0)
        return false;
    options.width = static_cast<int>(w);
    options.height = static_cast<int>(h);
    return true;
}

// A texture by the word the settings know it by, or a kind that has none
// (BLACK, KIND9, X50, Y50) by its label; in any case either way. -1 for none.
int texture_named(const std::string& text)
{
    const int texture = find_settings_texture(text.c_str());
    return texture >= 0 && texture != different_texture ? texture
                                                         : find_texture_kind(text.c_str());
}

bool parse_kind(const std::string& text, SnapshotOptions& options)
{
    options.texture_kind = texture_named(text);
    return options.texture_kind >= 0;
}

// A number of frames: one to a million.
bool parse_frame_count(const std::string& text, int& count)
{
    unsigned long long number = 0;
    if (!parse_number(text, 1000000, number) || number == 0)
        return false;
    count = static_cast<int>(number);
    return true;
}

bool parse_frames(const std::string& text, SnapshotOptions& options)
{
    return parse_frame_count(text, options.frames);
}

bool parse_every(const std::string& text, SnapshotOptions& options)
{
    return parse_frame_count(text, options.every);
}

bool parse_new_texture(const std::string& text, SnapshotOptions& options)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos ||
        !parse_frame_count(text.substr(0, colon), options.new_texture_frame))
        return false;
    options.new_texture_kind = texture_named(text.substr(colon + 1));
    return options.new_texture_kind >= 0;
}

bool parse_monitor_added(const std::string& text, SnapshotOptions& options)
{
    return parse_frame_count(text, options.monitor_added_frame);
}

bool parse_step(const std::string& text, SnapshotOptions& options)
{
    unsigned long long number = 0;
    if (!parse_number(text, 3600000, number))
        return false;
    options.step_ms = static_cast<int>(number);
    return true;
}

bool parse_seed(const std::string& text, SnapshotOptions& options)
{
    unsigned long long number = 0;
    if (!parse_number(text, 0xFFFFFFFFull, number))
        return false;
    options.seed_fixed = true;
    options.seed = static_cast<std::uint32_t>(number);
    return true;
}

bool parse_output(const std::string& text, SnapshotOptions& options)
{
    options.output = text;
    return !text.empty();
}

// Every option that takes a value, with what reads it.
struct ValueOption {
    const char* name;
    bool (*parse)(const std::string& text, SnapshotOptions& options);
    bool of_picture;
};

const ValueOption value_options[] = {{"--size", parse_size, true},
                                     {"--frames", parse_frames, false},
                                     {"--step-ms", parse_step, false},
                                     {"--seed", parse_seed, false},
                                     {"--texture-only", parse_kind, false},
                                     {"-o", parse_output, true},
                                     {"--every", parse_every, false},
                                     {"--new-texture", parse_new_texture, false},
                                     {"--monitor-added", parse_monitor_added, false}};

const ValueOption* find_option(const std::string& name, OptionSet set)
{
    for (const ValueOption& option : value_options)
        if (name == option.name && (set == OptionSet::snapshot || option.of_picture))
            return &option;
    return nullptr;
}

} // namespace

std::string numbered_path(const std::string& output, int frame)
{
    const std::string extension = ".png";
    std::string stem = output;
    if (stem.size() > extension.size() &&
        stem.compare(stem.size() - extension.size(), extension.size(), extension) == 0)
        stem.resize(stem.size() - extension.size());
    char number[16];
    std::snprintf(number, sizeof number, "-%06d", frame);
    return stem + number + extension;
}

void take_moment(SnapshotOptions& options, std::int64_t wall_ms)
{
    options.step_ms = static_cast<int>(frame_interval_for(options.settings.frame_rate));
    // At least one step: the start alone is no frame the saver shows.
    options.frames =
        static_cast<int>(std::max<std::int64_t>(1, wall_ms % moment_span_ms / options.step_ms));
    options.seed_fixed = true;
    options.seed = static_cast<std::uint32_t>(wall_ms / moment_span_ms);
}

bool parse_snapshot_options(int argc, const char* const* argv, SnapshotOptions& options,
                            std::string& error, OptionSet set)
{
    for (int i = 0; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name == "--quick" && set == OptionSet::snapshot) {
            options.packing = PngPacking::quick;
            continue;
        }
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        const int taken = name.rfind("--", 0) == 0
                              ? read_settings_option(name.c_str() + 2, next, options.settings,
                                                     error, as_snapshot_option)
                              : 0;
        if (taken < 0)
            return false;
        if (taken > 0) {
            i += taken - 1;
            continue;
        }
        const ValueOption* option = find_option(name, set);
        if (!option) {
            error = "unknown option '" + name + "'";
            return false;
        }
        if (i + 1 >= argc) {
            error = "option '" + name + "' needs a value";
            return false;
        }
        const std::string value = argv[++i];
        if (!option->parse(value, options)) {
            error = "bad value '" + value + "' for " + name;
            return false;
        }
    }
    return true;
}
