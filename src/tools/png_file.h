#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes RGB bytes stored bottom row first as a PNG; false on failure.
bool write_png(const std::string& path, int width, int height,
               const std::vector<std::uint8_t>& rgb_bottom_up);
