#pragma once
#include <cstdint>
#include <string>
#include <vector>

// How a PNG is packed: as small as zlib makes it by default, or in half the
// time and a little larger, for a picture that is wanted at once.
enum class PngPacking { small, quick };

// Writes RGB bytes stored bottom row first as a PNG, replacing a file there
// whole or not at all (see write_whole_file); false on failure, with errno
// saying why.
bool write_png(const std::string& path, int width, int height,
               const std::vector<std::uint8_t>& rgb_bottom_up,
               PngPacking packing = PngPacking::small);
