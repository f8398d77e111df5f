// What an X screen or window shows:
//   x-screenshot FILE [WINDOW]          writes it as a PNG
//   x-screenshot --pixel WINDOW X Y     prints one pixel as "R G B"
// WINDOW is an X window id, or "root" for the whole screen.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tools/png_file.h"

namespace
{

Window window_argument(Display* d, const char* text)
{
    if (!text || std::strcmp(text, "root") == 0)
        return DefaultRootWindow(d);
    return std::strtoul(text, nullptr, 0);
}

XImage* grab(Display* d, Window window, int& width, int& height)
{
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(d, window, &attributes))
        return nullptr;
    width = attributes.width;
    height = attributes.height;
    return XGetImage(d, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                     AllPlanes, ZPixmap);
}

void rgb_of(unsigned long pixel, std::uint8_t out[3])
{
    out[0] = static_cast<std::uint8_t>((pixel >> 16) & 0xFF);
    out[1] = static_cast<std::uint8_t>((pixel >> 8) & 0xFF);
    out[2] = static_cast<std::uint8_t>(pixel & 0xFF);
}

int print_pixel(XImage* image, int width, int height, int x, int y)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 1;
    std::uint8_t rgb[3];
    rgb_of(XGetPixel(image, x, y), rgb);
    std::printf("%d %d %d\n", rgb[0], rgb[1], rgb[2]);
    return 0;
}

int write_picture(XImage* image, int width, int height, const char* file)
{
    // Rows bottom-up, as GL reads them and the PNG writer expects.
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    std::uint8_t* out = rgb.data();
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x, out += 3)
            rgb_of(XGetPixel(image, x, y), out);
    return write_png(file, width, height, rgb) ? 0 : 1;
}

// A window that is gone or never was is a failed shot, not a crash.
int ignore_error(Display*, XErrorEvent*) { return 0; }

} // namespace

int main(int argc, char** argv)
{
    const bool pixel = argc == 5 && std::strcmp(argv[1], "--pixel") == 0;
    if (!pixel && (argc < 2 || argc > 3)) {
        std::fputs("usage: x-screenshot FILE [WINDOW] | x-screenshot --pixel WINDOW X Y\n", stderr);
        return 2;
    }
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fputs("x-screenshot: cannot open the X display\n", stderr);
        return 1;
    }
    XSetErrorHandler(ignore_error);
    int width = 0;
    int height = 0;
    const char* window = pixel || argc == 3 ? argv[2] : nullptr;
    XImage* image = grab(d, window_argument(d, window), width, height);
    int result = 1;
    if (image) {
        result = pixel ? print_pixel(image, width, height, std::atoi(argv[3]), std::atoi(argv[4]))
                       : write_picture(image, width, height, argv[1]);
        XDestroyImage(image);
    }
    XCloseDisplay(d);
    return result;
}
