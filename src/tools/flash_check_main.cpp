// flash-check: whether a sequence of frames flashes more than WCAG 2.x
// allows. Exit 0 within the limit, 1 over it, 2 on bad input.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/flash_files.h"

namespace
{

const char* const usage = "usage: flash-check --fps N FILE...\n"
                          "  the frames, PNG files in the order shown, drawn N a second\n";

void print_worst(const char* kind, const WorstSecond& worst, double fps)
{
    std::printf("%s flashes: %g", kind, worst.flashes);
    if (worst.flashes > 0)
        std::printf(" in the second from frame %d (%.2f s) over %dx%d at %d,%d", worst.first_frame,
                    worst.first_frame / fps, worst.area.width, worst.area.height, worst.area.left,
                    worst.area.top);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    double fps = 0;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--fps" && i + 1 < argc) {
            char* end = nullptr;
            fps = std::strtod(argv[++i], &end);
            if (*end != '\0')
                fps = 0;
        } else {
            files.push_back(arg);
        }
    }
    if (!(fps > 0 && fps < 1000) || files.empty()) {
        std::fputs(usage, stderr);
        return 2;
    }
    FlashReport report;
    std::string error;
    if (!check_png_frames(files, fps, report, error)) {
        std::fprintf(stderr, "flash-check: %s\n", error.c_str());
        return 2;
    }
    print_worst("general", report.general, fps);
    print_worst("red", report.red, fps);
    const bool over = over_flash_limit(report);
    std::printf("%s the limit of three flashes in any one second\n", over ? "over" : "within");
    return over ? 1 : 0;
}
