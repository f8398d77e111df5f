#include "tools/png_file.h"

#include <png.h>

#include <cerrno>

#include "tools/whole_file.h"

namespace
{

// The PNG's bytes, packed in memory so that the file is written by the one
// writer that never removes what it did not make.
bool pack_png(int width, int height, const std::vector<std::uint8_t>& rgb_bottom_up,
              PngPacking packing, std::vector<std::uint8_t>& png)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    if (packing == PngPacking::quick)
        image.flags = PNG_IMAGE_FLAG_FAST;
    png.resize(PNG_IMAGE_PNG_SIZE_MAX(image));
    png_alloc_size_t size = png.size();
    // A negative stride tells libpng that the rows are stored bottom-up.
    const png_int_32 stride = -width * 3;
    const bool packed = png_image_write_to_memory(&image, png.data(), &size, 0,
                                                  rgb_bottom_up.data(), stride, nullptr) != 0;
    png_image_free(&image);
    png.resize(packed ? size : 0);
    return packed;
}

} // namespace

bool write_png(const std::string& path, int width, int height,
               const std::vector<std::uint8_t>& rgb_bottom_up, PngPacking packing)
{
    std::vector<std::uint8_t> png;
    if (!pack_png(width, height, rgb_bottom_up, packing, png)) {
        errno = EINVAL;
        return false;
    }
    return write_whole_file(path, png);
}
