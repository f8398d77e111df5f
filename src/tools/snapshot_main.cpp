// orbdrift-snapshot: the saver's scene, or one of its textures, offscreen, as a PNG.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "common/gl.h"
#include "common/random.h"
#include "textures/texture_slot.h"
#include "tools/scene_snapshot.h"

namespace
{

const char* const program = "orbdrift-snapshot";
constexpr int texture_side = 256;

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
        std::fprintf(stderr, "%s: %s (try --help)\n", program, error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(snapshot_usage().c_str(), stdout);
        return 0;
    }

    if (options.texture_kind < 0)
        return write_scene(program, options);
    OffscreenContext context(texture_side, texture_side);
    if (!offscreen_ready(program, context))
        return 1;
    return save_picture(program, options.output, texture_side, texture_side,
                        render_texture(options))
               ? 0
               : 1;
}
