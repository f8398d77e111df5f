#include <cstdint>
#include <cstring>

#include "common/gl.h"
#include "textures/texel_rules.h"
#include "textures/texture_kind.h"
#include "textures/texture_slot.h"

namespace
{

constexpr std::int64_t max_texels = 256 * 256;

// Static rather than on the stack: a quarter megabyte is too much for a
// small thread stack, and generation never runs on two threads.
unsigned char texel_buffer[max_texels * 4];

void fill_kind(int kind, const TexelTarget& target, TextureSlot& slot)
{
    switch (kind) {
    case SPHERE:
        return fill_sphere(target);
    case NOTSPHERE:
        return fill_not_sphere(target);
    case GRADIENT:
        return fill_gradient(target);
    case SMOKE:
        return fill_smoke(target, slot);
    case FOG:
        return fill_fog(target, slot);
    case RING:
        return fill_ring(target);
    case STAR:
        return fill_star(target);
    case SAND:
        return fill_sand(target);
    case BLACK:
        return fill_black(target);
    case CHECK:
        return fill_check(target);
    case GRILLE:
        return fill_grille(target);
    case FLECK:
        return fill_fleck(target);
    default:
        return; // no rule: the image stays as cleared
    }
}

bool accumulates(int kind)
{
    return kind == SMOKE || kind == FOG;
}

void register_generation(TextureSlot& slot, int kind)
{
    // The registry is bookkeeping only; once it is full, generation still
    // works but is no longer recorded.
    if (texture_count < 0 || texture_count >= texture_registry_size) {
        slot.registry_index = -1;
        return;
    }
    texture_registry[texture_count] = &slot;
    slot.registry_index = texture_count;
    const char* name = texture_kind_name(kind);
    if (name[0] != '\0') {
        std::strncpy(texture_names[texture_count], name, texture_name_size - 1);
        texture_names[texture_count][texture_name_size - 1] = '\0';
    }
}

} // namespace

void TexelTarget::put(int x, int y, float r, float g, float b, float a) const
{
    const std::size_t texel =
        static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
    if (format == GL_RGBA) {
        unsigned char* out = bytes + texel * 4;
        out[0] = texel_byte(r);
        out[1] = texel_byte(g);
        out[2] = texel_byte(b);
        out[3] = texel_byte(a);
    } else if (format == GL_LUMINANCE_ALPHA) {
        unsigned char* out = bytes + texel * 2;
        out[0] = texel_byte(a);
        out[1] = texel_byte(a);
    }
}

int TextureSlot::generate(int kind, int new_width, int new_height, unsigned new_format,
                          int mipmapped)
{
    width = new_width;
    height = new_height;
    format = new_format;
    const std::int64_t texels = static_cast<std::int64_t>(width) * height;
    if (width < 0 || height < 0 || texels > max_texels)
        return 1;
    // The accumulation grid has rows of 256: a longer side would overrun it.
    if (accumulates(kind) && (width > accumulation_side || height > accumulation_side))
        return 1;
    register_generation(*this, kind);

    // Cleared first, so a kind without a rule or a format without a byte
    // layout uploads transparent black rather than stale memory.
    std::memset(texel_buffer, 0, static_cast<std::size_t>(texels) * 4);
    fill_kind(kind, TexelTarget{texel_buffer, width, height, format}, *this);

    bind();
    set_filters(mipmapped != 0);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format,
                 GL_UNSIGNED_BYTE, texel_buffer);
    if (mipmapped != 0)
        gluBuild2DMipmaps(GL_TEXTURE_2D, 4, width, height, format, GL_UNSIGNED_BYTE, texel_buffer);
    ++texture_count;
    return 0;
}
