// What the saver's work costs, each case against the others in one run:
// a frame at a small and at a full-screen size, and the texture kinds.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "common/frame_clock.h"
#include "common/gl.h"
#include "common/random.h"
#include "scene/frame_driver.h"
#include "textures/texture_kind.h"
#include "textures/texture_slot.h"
#include "tools/offscreen_context.h"

namespace
{

std::int64_t clock_ms = 0;
std::int64_t bench_clock()
{
    return clock_ms;
}

void frame(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    OffscreenContext context(width, height);
    if (!context.ready()) {
        state.SkipWithError("no offscreen GL context");
        return;
    }
    set_millisecond_source(bench_clock);
    apply_fixed_gl_state();
    start_scene(width, height);
    for (auto _ : state) {
        clock_ms += 5;
        step_frame();
        draw_picture({0, 0, width, height});
        glFinish(); // the frame is done when GL is
    }
    state.SetLabel(std::to_string(width) + "x" + std::to_string(height));
}

void texture(benchmark::State& state)
{
    OffscreenContext context(16, 16);
    if (!context.ready()) {
        state.SkipWithError("no offscreen GL context");
        return;
    }
    const int kind = static_cast<int>(state.range(0));
    TextureSlot slot;
    seed_random(1);
    for (auto _ : state) {
        slot.generate(kind, 256, 256, GL_RGBA, 0);
        glFinish();
    }
    state.SetLabel(texture_kind_name(kind));
}

} // namespace

// llvmpipe draws on threads of its own: a frame costs wall time, not ours.
BENCHMARK(frame)
    ->Args({320, 256})
    ->Args({1280, 1024})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(texture)->Arg(FLECK)->Arg(SAND)->Arg(SMOKE)->Arg(FOG)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
