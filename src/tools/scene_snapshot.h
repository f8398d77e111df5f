#pragma once
// What the snapshot tool and the picture command share: the saver's scene
// run offscreen with a simulated clock, and its pictures written as PNGs.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/offscreen_context.h"
#include "tools/snapshot_options.h"

// True when the context is there; else a line on stderr, after the
// program's name, saying that it is not.
bool offscreen_ready(const char* program, const OffscreenContext& context);

// A picture written, or a line on stderr saying which one could not be.
bool save_picture(const char* program, const std::string& path, int width, int height,
                  const std::vector<std::uint8_t>& rgb, PngPacking packing = PngPacking::small);

// The saver's start and frames as the options ask, the last frame written
// to their output (and every Nth one on the way when asked): the exit code.
int write_scene(const char* program, const SnapshotOptions& options);
