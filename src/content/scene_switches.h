#pragma once
#include <cstdint>

// The scene's on/off switches. Only scene setup writes them.
class SceneSwitches
{
public:
    virtual ~SceneSwitches() = default;

    std::int32_t backdrop_overlay_on = 0;
    std::int32_t scene_pass_on = 0;
    std::int32_t modulate_overlay_on = 0;
    std::int32_t blend_on = 0;
    std::int32_t cull_on = 0;
    std::int32_t depth_test_on = 0;
    std::int32_t fog_on = 0;
    std::int32_t lighting_on = 0;
    std::int32_t stars_on = 0;
    std::int32_t particles_on = 0;
    std::int32_t texture_on = 0;
};

extern SceneSwitches scene_switches;
