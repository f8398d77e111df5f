#pragma once
// The text file behind HKEY_CURRENT_USER, $XDG_CONFIG_HOME/orbdrift/settings,
// as lines that a person may have written: the registry calls change only
// the lines of the values they set and keep every other one.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/win32_api.h"

// Far more than any settings a person keeps, little enough that a wrong
// file (a log, a device, a mistaken symlink) costs nothing to refuse.
constexpr std::size_t settings_file_limit = 64 * 1024;

struct SettingsFile {
    // ERROR_SUCCESS also when there is no file yet; otherwise why the file
    // there cannot be taken, and so must not be replaced either.
    LSTATUS status = ERROR_SUCCESS;
    std::vector<std::string> lines;
};

// Never waits: only a regular file up to the limit is read.
SettingsFile read_settings_file();
// Any small file a person keeps, taken the same way: a FIFO, a device or a
// file over the limit is refused at once, however it was linked there.
SettingsFile read_small_file(const std::string& path, std::size_t limit);
// Replaces the file whole or leaves it as it was. A symlink stays a symlink
// (its target is replaced) and the file keeps its mode.
LSTATUS write_settings_file(const std::vector<std::string>& lines);
