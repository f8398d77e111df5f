#include "tools/png_file.h"

#include <png.h>

bool write_png(const std::string& path, int width, int height,
               const std::vector<std::uint8_t>& rgb_bottom_up, PngPacking packing)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    if (packing == PngPacking::quick)
        image.flags = PNG_IMAGE_FLAG_FAST;
    // A negative stride tells libpng that the rows are stored bottom-up.
    const png_int_32 stride = -width * 3;
    const bool written = png_image_write_to_file(&image, path.c_str(), 0, rgb_bottom_up.data(),
                                                 stride, nullptr) != 0;
    png_image_free(&image);
    return written;
}
