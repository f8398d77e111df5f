// orbdrift-picture: the saver's picture of this moment, with the saved
// settings, as a PNG. A lock screen cannot run the saver, but it can show a
// picture, written as it locks.
#include <chrono>
#include <cstdio>
#include <string>

#include "shell/settings_store.h"
#include "tools/scene_snapshot.h"
#include "tools/screen_size.h"

namespace
{

const char* const program = "orbdrift-picture";

std::int64_t wall_clock_ms()
{
    const auto since_1970 = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(since_1970).count();
}

} // namespace

int main(int argc, char** argv)
{
    SnapshotOptions options;
    options.width = 0; // none given
    // Written as the screen locks, and read once.
    options.packing = PngPacking::quick;
    // The saved settings under the options given, as in every mode.
    options.settings = read_saved_settings();
    std::string error;
    if (!parse_snapshot_options(argc - 1, argv + 1, options, error, OptionSet::picture)) {
        std::fprintf(stderr, "%s: %s (try --help)\n", program, error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(picture_usage().c_str(), stdout);
        return 0;
    }
    // A lock screen scales a picture of another size to its screen, or crops it.
    if (options.width == 0 && !shown_screen_size(options.width, options.height)) {
        options.width = 1920;
        options.height = 1080;
    }
    // A different texture each time: the lock shows the one chosen last (a
    // saver's start, a wallpaper's day), likely on the screen a moment ago.
    const int last = read_last_texture();
    if (options.settings.texture == different_texture && last >= 0)
        options.settings.texture = last;
    take_moment(options, wall_clock_ms());
    return write_scene(program, options);
}
