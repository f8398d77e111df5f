#pragma once
#include <cstdint>
#include <string>

#include "scene/scene_settings.h"

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
    bool help = false;
    SceneSettings settings; // what the saver's settings would make of the scene
};

// Parses the command line (without the program name). On a bad option it
// returns false and puts a one-line reason into error.
bool parse_snapshot_options(int argc, const char* const* argv, SnapshotOptions& options,
                            std::string& error);

// Where frame number n of a sequence goes: "out.png" gives "out-000042.png".
std::string numbered_path(const std::string& output, int frame);

std::string snapshot_usage();
