// orbdrift-snapshot: the saver's scene, or one of its textures, offscreen, as a PNG.
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "common/frame_clock.h"
#include "common/gl.h"
#include "common/random.h"
#include "scene/frame_driver.h"
#include "textures/texture_slot.h"
#include "tools/offscreen_context.h"
#include "tools/png_file.h"
#include "tools/snapshot_options.h"

namespace
{

constexpr int texture_side = 256;
std::int64_t simulated_ms = 0;

std::int64_t simulated_clock()
{
    return simulated_ms;
}

// A picture written, or a line on stderr saying which one could not be.
bool save_picture(const std::string& path, int width, int height,
                  const std::vector<std::uint8_t>& rgb)
{
    if (write_png(path, width, height, rgb))
        return true;
    std::fprintf(stderr, "orbdrift-snapshot: cannot write '%s'\n", path.c_str());
    return false;
}

// The saver's start and frames with a simulated clock; the last frame, and
// every Nth one on the way when asked. False when a picture cannot be written.
bool render_scene(const SnapshotOptions& options, const OffscreenContext& context,
                  std::vector<std::uint8_t>& last)
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
        draw_picture({0, 0, options.width, options.height});
        if (options.every > 0 && frame % options.every == 0 &&
            !save_picture(numbered_path(options.output, frame), options.width, options.height,
                          context.read_rgb()))
            return false;
    }
    last = context.read_rgb();
    return true;
}

// One texture of the given kind as the generator makes it, without alpha.
std::vector<std::uint8_t> render_texture(const SnapshotOptions& options)
{
    if (options.seed_fixed)
        seed_random(options.seed);
    TextureSlot slot;
    slot.generate(options.texture_kind, texture_side, texture_side, GL_RGBA, 0);
    std::vector<std::uint8_t> rgba(texture_side * texture_side * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    std::vector<std::uint8_t> rgb;
    rgb.reserve(texture_side * texture_side * 3);
    for (auto texel = rgba.begin(); texel != rgba.end(); texel += 4)
        rgb.insert(rgb.end(), texel, texel + 3);
    return rgb;
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
        std::fputs(snapshot_usage().c_str(), stdout);
        return 0;
    }

    const bool texture = options.texture_kind >= 0;
    const int width = texture ? texture_side : options.width;
    const int height = texture ? texture_side : options.height;
    OffscreenContext context(width, height);
    if (!context.ready()) {
        std::fprintf(stderr, "orbdrift-snapshot: cannot create an offscreen OpenGL context\n");
        return 1;
    }
    std::vector<std::uint8_t> picture;
    if (texture)
        picture = render_texture(options);
    else if (!render_scene(options, context, picture))
        return 1;
    return save_picture(options.output, width, height, picture) ? 0 : 1;
}
