#pragma once
#include <cstdint>
#include <string>

#include "scene/scene_settings.h"
#include "tools/png_file.h"

// The largest side of a picture, in pixels.
constexpr int max_picture_side = 8192;

struct SnapshotOptions {
    int width = 1280;
    int height = 1024;
    int frames = 400;
    int step_ms = 5;
    bool seed_fixed = false;
    std::uint32_t seed = 0;
    std::string output = "orbdrift.png";
    int every = 0;         // also write every Nth frame as a numbered picture; 0 for none
    int texture_kind = -1; // a kind to write instead of the scene
    // The moments that change the picture at once, each from a frame on (0
    // for never): a wallpaper's new day with its texture, and a second
    // monitor beside the first, each showing a picture of its own.
    int new_texture_frame = 0;
    int new_texture_kind = -1;
    int monitor_added_frame = 0;
    bool help = false;
    PngPacking packing = PngPacking::small;
    SceneSettings settings; // what the saver's settings would make of the scene
};

// Whose command line it is: the picture command takes the moment from the
// clock, so only the size, the output and the settings are its to give.
enum class OptionSet { snapshot, picture };

// Parses the command line (without the program name) over the options as
// they are. On a bad option it returns false and puts a one-line reason into
// error.
bool parse_snapshot_options(int argc, const char* const* argv, SnapshotOptions& options,
                            std::string& error, OptionSet set = OptionSet::snapshot);

// The picture of this moment of the wall clock (milliseconds since 1970):
// the frame that a saver started at the last whole ten minutes shows now,
// at the settings' frame rate. Pictures within the same ten minutes are one
// scene moving on.
void take_moment(SnapshotOptions& options, std::int64_t wall_ms);

// Where frame number n of a sequence goes: "out.png" gives "out-000042.png".
std::string numbered_path(const std::string& output, int frame);

std::string snapshot_usage();
std::string picture_usage();
