// frame-cost: what the saver costs on the offscreen GL, as CPU time of the
// whole process. llvmpipe rasterises on threads of its own, so wall time
// would hide most of the work; the process clock counts every thread.
//
//   frame-cost frame orbdrift|baseline|floor WxH FRAMES
//                                                   CPU ms per frame, then wall ms
//                                                   (monitors for the saver with a picture
//                                                   on each half, as on two monitors)
//   frame-cost setup orbdrift|baseline WxH          CPU ms of the start, texture included,
//                                                   then of the start and the first frame
//   frame-cost kinds [REPEATS]                      CPU ms per 256 x 256 texture, by kind
//   frame-cost renderer                             the offscreen GL's renderer and version
//   frame-cost picture orbdrift|baseline|floor WxH FILE
//                                                   the last measured frame as a PNG, to
//                                                   see that all draw the same picture
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "baseline_picture.h"
#include "floor_picture.h"
#include "common/frame_clock.h"
#include "common/gl.h"
#include "common/random.h"
#include "scene/frame_driver.h"
#include "textures/texture_kind.h"
#include "textures/texture_slot.h"
#include "tools/offscreen_context.h"
#include "tools/png_file.h"
#include "tools/snapshot_options.h"

namespace
{

std::int64_t clock_ms = 0;
std::int64_t bench_clock()
{
    return clock_ms;
}

double seconds(clockid_t id)
{
    timespec t{};
    clock_gettime(id, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Drawing {
    bool baseline = false;
    bool floor = false;
    bool two_monitors = false;
    // The saver's pictures: the whole buffer, or each half as on two monitors.
    ScreenArea areas[2] = {};

    void start(int width, int height)
    {
        if (baseline) {
            baseline_start(width, height);
            return;
        }
        if (floor) {
            floor_start(width, height);
            return;
        }
        apply_fixed_gl_state();
        start_scene(width, height);
        areas[0] = {0, 0, two_monitors ? width / 2 : width, height};
        areas[1] = {width / 2, 0, width - width / 2, height};
    }

    // Both drawings see the same clock, so they draw the same moments.
    void frame() const
    {
        if (baseline) {
            baseline_frame(static_cast<double>(clock_ms) * 0.001);
            return;
        }
        if (floor) {
            floor_frame(static_cast<double>(clock_ms) * 0.001);
            return;
        }
        step_frame();
        if (two_monitors)
            draw_pictures(areas, 2);
        else
            draw_picture(areas[0]);
    }
};

bool parse_size(const char* text, int& width, int& height)
{
    return std::sscanf(text, "%dx%d", &width, &height) == 2 && width > 0 && height > 0 &&
           width <= 8192 && height <= 8192;
}

int usage()
{
    std::fputs("usage: frame-cost frame orbdrift|baseline|floor WxH FRAMES\n"
               "       frame-cost setup orbdrift|baseline WxH\n"
               "       frame-cost kinds [REPEATS]\n"
               "       frame-cost renderer\n"
               "       frame-cost picture orbdrift|baseline|floor WxH FILE\n",
               stderr);
    return 2;
}

int no_context()
{
    std::fputs("frame-cost: no offscreen GL context\n", stderr);
    return 1;
}

int measure_frames(Drawing& drawing, int width, int height, long frames,
                   const char* picture = nullptr)
{
    OffscreenContext context(width, height);
    if (!context.ready())
        return no_context();
    set_millisecond_source(bench_clock);
    drawing.start(width, height);
    // Twenty long steps to a quarter period of the band drift, where the
    // bands cover a quarter of the screen, their mean over a long run; then
    // frames at the running saver's pace of 10 ms.
    for (int i = 0; i < 20; ++i) {
        clock_ms += 785;
        drawing.frame();
    }
    glFinish();
    const double cpu = seconds(CLOCK_PROCESS_CPUTIME_ID);
    const double wall = seconds(CLOCK_MONOTONIC);
    for (long i = 0; i < frames; ++i) {
        clock_ms += 10;
        drawing.frame();
        glFinish();
    }
    const double per_frame = 1e3 / static_cast<double>(frames);
    if (picture)
        return write_png(picture, width, height, context.read_rgb()) ? 0 : 1;
    std::printf("%.4f %.4f\n", (seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu) * per_frame,
                (seconds(CLOCK_MONOTONIC) - wall) * per_frame);
    return 0;
}

int measure_setup(Drawing& drawing, int width, int height)
{
    OffscreenContext context(width, height);
    if (!context.ready())
        return no_context();
    set_millisecond_source(bench_clock);
    const double cpu = seconds(CLOCK_PROCESS_CPUTIME_ID);
    drawing.start(width, height);
    glFinish();
    const double setup = seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu;
    // The saver's start already draws the background, and the driver compiles
    // its shaders at the first draw of each kind; only start and first frame
    // together compare alike.
    clock_ms += 10;
    drawing.frame();
    glFinish();
    std::printf("%.4f %.4f\n", setup * 1e3, (seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu) * 1e3);
    return 0;
}

int measure_kinds(int repeats)
{
    OffscreenContext context(16, 16);
    if (!context.ready())
        return no_context();
    TextureSlot slot;
    seed_random(1);
    // The first upload also sets the driver's texture machinery up; that is
    // no kind's cost.
    slot.generate(BLACK, 256, 256, GL_RGBA, 0);
    glFinish();
    for (int kind = 0; kind <= FLECK; ++kind) {
        const double cpu = seconds(CLOCK_PROCESS_CPUTIME_ID);
        for (int i = 0; i < repeats; ++i) {
            slot.generate(kind, 256, 256, GL_RGBA, 0);
            glFinish();
        }
        std::printf("%s %.4f\n", texture_kind_labels[kind],
                    (seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu) * 1e3 / repeats);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "kinds") == 0) {
        const int repeats = argc > 2 ? std::atoi(argv[2]) : 5;
        return repeats > 0 ? measure_kinds(repeats) : usage();
    }
    if (argc == 2 && std::strcmp(argv[1], "renderer") == 0) {
        OffscreenContext context(16, 16);
        if (!context.ready())
            return no_context();
        std::printf("%s, OpenGL %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
                    reinterpret_cast<const char*>(glGetString(GL_VERSION)));
        return 0;
    }
    if (argc < 4)
        return usage();
    Drawing drawing;
    drawing.baseline = std::strcmp(argv[2], "baseline") == 0;
    drawing.floor = std::strcmp(argv[2], "floor") == 0;
    drawing.two_monitors = std::strcmp(argv[2], "monitors") == 0;
    if (!drawing.baseline && !drawing.floor && !drawing.two_monitors &&
        std::strcmp(argv[2], "orbdrift") != 0)
        return usage();
    int width = 0;
    int height = 0;
    if (!parse_size(argv[3], width, height))
        return usage();
    if (std::strcmp(argv[1], "frame") == 0 && argc == 5) {
        const long frames = std::strtol(argv[4], nullptr, 10);
        return frames > 0 ? measure_frames(drawing, width, height, frames) : usage();
    }
    if (std::strcmp(argv[1], "picture") == 0 && argc == 5)
        return measure_frames(drawing, width, height, 100, argv[4]);
    if (std::strcmp(argv[1], "setup") == 0 && argc == 4)
        return measure_setup(drawing, width, height);
    return usage();
}
