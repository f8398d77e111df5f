// orbdrift-snapshot: the saver's scene, offscreen, as a PNG.
#include <cstdint>
#include <cstdio>
#include <string>

#include "scene/scene_setup.h"
#include "shell/frame_clock.h"
#include "shell/frame_driver.h"
#include "tools/offscreen_context.h"
#include "tools/png_file.h"
#include "tools/snapshot_options.h"

namespace
{

std::int64_t simulated_ms = 0;

std::int64_t simulated_clock()
{
    return simulated_ms;
}

} // namespace

int main(int argc, char** argv)
{
    SnapshotOptions options;
    std::string error;
    if (!parse_snapshot_options(argc - 1, argv + 1, options, error)) {
        std::fprintf(stderr, "orbdrift-snapshot: %s (try --help)\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(snapshot_usage, stdout);
        return 0;
    }

    OffscreenContext context(options.width, options.height);
    if (!context.ready()) {
        std::fprintf(stderr, "orbdrift-snapshot: cannot create an offscreen OpenGL context\n");
        return 1;
    }
    set_millisecond_source(simulated_clock);
    if (options.seed_fixed)
        fix_scene_seed(options.seed);

    client_width = options.width;
    client_height = options.height;
    set_fixed_gl_state();
    for (int frame = 0; frame < options.frames; ++frame) {
        simulated_ms += options.step_ms;
        run_frame();
    }

    if (!write_png(options.output, options.width, options.height, context.read_rgb())) {
        std::fprintf(stderr, "orbdrift-snapshot: cannot write '%s'\n", options.output.c_str());
        return 1;
    }
    return 0;
}
