#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes the bytes to the path the way a picture a lock screen shows must be
// written: a regular file, or none yet, gets a copy made beside it and
// renamed into place, so that a write that fails (a full disk) leaves what
// was there whole; a device or a FIFO, also behind a link, is written into,
// as a person who names one means. Nothing the call did not make is ever
// removed. False on failure, with errno saying why.
bool write_whole_file(const std::string& path, const std::vector<std::uint8_t>& bytes);
