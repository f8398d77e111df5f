#include "support/gl_test.h"

#include "common/frame_clock.h"
#include "common/gl.h"

namespace
{

std::int64_t test_ms = 0;

std::int64_t test_clock()
{
    return test_ms;
}

} // namespace

void set_test_clock(std::int64_t ms)
{
    test_ms = ms;
    set_millisecond_source(test_clock);
}

std::vector<std::uint8_t> read_texture(const TextureSlot& slot, unsigned format,
                                       int bytes_per_texel)
{
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(slot.width) * slot.height *
                                    bytes_per_texel);
    glBindTexture(GL_TEXTURE_2D, slot.gl_name);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, bytes.data());
    return bytes;
}
