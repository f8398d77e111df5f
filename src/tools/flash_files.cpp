#include "tools/flash_files.h"

#include <png.h>

#include <cstdint>
#include <memory>

namespace
{

// The picture's RGB bytes, top row first; false when it is not a PNG.
bool read_png(const std::string& path, png_image& image, std::vector<std::uint8_t>& rgb)
{
    image = {};
    image.version = PNG_IMAGE_VERSION;
    // A header may promise any size: more than a screen's is no frame.
    if (!png_image_begin_read_from_file(&image, path.c_str()) || image.width > 16384 ||
        image.height > 16384) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    rgb.resize(PNG_IMAGE_SIZE(image));
    const bool read = png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return read;
}

} // namespace

bool check_png_frames(const std::vector<std::string>& files, double fps, FlashReport& report,
                      std::string& error)
{
    std::unique_ptr<FlashCheck> check;
    png_image first{};
    std::vector<std::uint8_t> rgb;
    for (const std::string& file : files) {
        png_image image{};
        if (!read_png(file, image, rgb)) {
            error = "cannot read '" + file + "' as a PNG";
            return false;
        }
        if (!check) {
            first = image;
            check = std::make_unique<FlashCheck>(static_cast<int>(image.width),
                                                 static_cast<int>(image.height), fps);
        } else if (image.width != first.width || image.height != first.height) {
            error = "'" + file + "' is not the size of the first frame";
            return false;
        }
        check->add_frame(rgb.data());
    }
    if (check)
        report = check->report();
    return true;
}
