#pragma once
#include <string>

#include "textures/texture_kind.h"

// What a person may change about the picture. The defaults draw the picture
// the saver has always drawn; scene setup reads them.
class SceneSettings
{
public:
    virtual ~SceneSettings() = default;

    int texture = FLECK; // one of settings_textures
    bool stars = false;
    bool particles = false;
    bool overlays = false;      // both screen overlays
    int speed_percent = 100;    // of the clock's pace, lowest_speed to highest_speed
    int frame_rate = 100;       // frames a second, lowest_frame_rate to highest_frame_rate
    bool each_monitor = false;  // a picture on each monitor of a saver window
};

extern SceneSettings scene_settings;

constexpr int lowest_speed = 25;
constexpr int highest_speed = 400;
constexpr int lowest_frame_rate = 30;
constexpr int highest_frame_rate = 100;

// The kinds that draw something on the sphere, in the order they are offered.
constexpr int settings_texture_count = 11;
extern const int settings_textures[settings_texture_count];
bool is_settings_texture(int kind);

// The frame timer's interval for a frame rate: the full rate asks for 5 ms,
// which the platform raises to its shortest, 10.
unsigned frame_interval_for(int frame_rate);

// One option of a command line that changes a setting, named without its
// dashes: "texture KIND", "stars", "no-stars" (and so for particles and
// overlays), "speed FACTOR" (0.25 to 4). Returns how many arguments it took
// (1, or 2 with its value), 0 when the name is no setting's, and -1 when the
// value is wrong, with problem saying why.
int read_settings_option(const char* name, const char* value, SceneSettings& settings,
                         std::string& problem);
