// Linked into a copy of the Linux program, so that its frames can be set
// beside the snapshot tool's: the seed fixed, and the scene's clock stepping
// HELD_STEP_MS a reading, as the tool's simulated one does, until HELD_FRAMES
// frames have stepped; from then on every frame is that moment. Once two
// frames of it have been shown, the file HELD_MARK is made. The frame timer
// keeps the real clock.
#include <cstdint>
#include <cstdlib>
#include <fstream>

#include "common/frame_clock.h"
#include "scene/frame_driver.h"

namespace
{

std::int64_t held_frames = 0;
std::int64_t step_ms = 0;
const char* mark = nullptr;
std::int64_t readings = 0; // the first is the scene's start

std::int64_t number(const char* name)
{
    const char* text = std::getenv(name);
    return text ? std::strtoll(text, nullptr, 10) : 0;
}

// A reading comes before each frame is drawn: the one after the held
// moment's second frame comes once that frame has been swapped.
std::int64_t held_clock()
{
    if (readings == held_frames + 2 && mark)
        std::ofstream{mark};
    const std::int64_t frame = readings < held_frames ? readings : held_frames;
    ++readings;
    return frame * step_ms;
}

[[maybe_unused]] const bool held = [] {
    held_frames = number("HELD_FRAMES");
    step_ms = number("HELD_STEP_MS");
    mark = std::getenv("HELD_MARK");
    fix_scene_seed(static_cast<std::uint32_t>(number("HELD_SEED")));
    set_millisecond_source(held_clock);
    return true;
}();

} // namespace
