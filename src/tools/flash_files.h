#pragma once
#include <string>
#include <vector>

#include "tools/flash_rules.h"

// The flashes of PNG files shown one after the other, fps a second. False,
// with the reason in error, when a file cannot be read as a picture or is
// not the size of the first.
bool check_png_frames(const std::vector<std::string>& files, double fps, FlashReport& report,
                      std::string& error);
