#include "tools/scene_snapshot.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "common/frame_clock.h"
#include "scene/frame_driver.h"
#include "tools/png_file.h"

namespace
{

std::int64_t simulated_ms = 0;

std::int64_t simulated_clock()
{
    return simulated_ms;
}

// From the frame a monitor is added on, two pictures side by side.
void draw_frame(const SnapshotOptions& options, int frame)
{
    const ScreenArea whole{0, 0, options.width, options.height};
    if (options.monitor_added_frame == 0 || frame < options.monitor_added_frame) {
        draw_picture(whole);
        return;
    }
    const int half = options.width / 2;
    const ScreenArea monitors[] = {{0, 0, half, options.height},
                                   {half, 0, options.width - half, options.height}};
    draw_pictures(monitors, 2);
}

// Only the frames written are drawn: the scene moves in its steps alone and
// each picture paints every pixel, so one drawn after ten thousand steps is
// the one the saver shows then, at a ten-thousandth of the cost.
bool render_scene(const char* program, const SnapshotOptions& options,
                  const OffscreenContext& context, std::vector<std::uint8_t>& last)
{
    set_millisecond_source(simulated_clock);
    scene_settings = options.settings;
    // Remembers nothing: a snapshot is no start of the saver.
    if (scene_settings.texture == different_texture)
        scene_settings.texture = other_texture(-1, std::random_device{}());
    if (options.seed_fixed)
        fix_scene_seed(options.seed);
    apply_fixed_gl_state();
    start_scene(options.width, options.height);
    for (int frame = 1; frame <= options.frames; ++frame) {
        simulated_ms += options.step_ms;
        step_frame();
        if (frame == options.new_texture_frame)
            change_scene_texture(options.new_texture_kind);
        const bool numbered = options.every > 0 && frame % options.every == 0;
        if (!numbered && frame < options.frames)
            continue;
        draw_frame(options, frame);
        if (numbered && !save_picture(program, numbered_path(options.output, frame), options.width,
                                      options.height, context.read_rgb(), options.packing))
            return false;
    }
    last = context.read_rgb();
    return true;
}

} // namespace

bool offscreen_ready(const char* program, const OffscreenContext& context)
{
    if (!context.ready())
        std::fprintf(stderr, "%s: cannot create an offscreen OpenGL context\n", program);
    return context.ready();
}

bool save_picture(const char* program, const std::string& path, int width, int height,
                  const std::vector<std::uint8_t>& rgb, PngPacking packing)
{
    if (write_png(path, width, height, rgb, packing))
        return true;
    std::fprintf(stderr, "%s: cannot write '%s': %s\n", program, path.c_str(),
                 std::strerror(errno));
    return false;
}

int write_scene(const char* program, const SnapshotOptions& options)
{
    OffscreenContext context(options.width, options.height);
    if (!offscreen_ready(program, context))
        return 1;
    std::vector<std::uint8_t> picture;
    return render_scene(program, options, context, picture) &&
                   save_picture(program, options.output, options.width, options.height, picture,
                                options.packing)
               ? 0
               : 1;
}
