#include "scene/scene_settings.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

const int settings_textures[settings_texture_count] = {
    SPHERE, NOTSPHERE, GRADIENT, SMOKE, FOG, RING, STAR, SAND, CHECK, GRILLE, FLECK};

bool is_settings_texture(int kind)
{
    for (int choice : settings_textures)
        if (choice == kind)
            return true;
    return false;
}

unsigned frame_interval_for(int frame_rate)
{
    if (frame_rate >= highest_frame_rate)
        return 5;
    return static_cast<unsigned>((1000 + frame_rate / 2) / frame_rate);
}

namespace
{

struct SwitchOption {
    const char* name;
    bool SceneSettings::*field;
};

const SwitchOption switch_options[] = {{"stars", &SceneSettings::stars},
                                       {"particles", &SceneSettings::particles},
                                       {"overlays", &SceneSettings::overlays}};

// A factor such as 0.5 or 2, as whole per cent of the clock's pace.
bool read_speed(const char* text, int& percent)
{
    if (!text || !(std::isdigit(static_cast<unsigned char>(*text)) || *text == '.'))
        return false;
    char* end = nullptr;
    errno = 0;
    const double factor = std::strtod(text, &end);
    if (errno != 0 || *end != '\0' || !(factor >= 0.25 && factor <= 4.0))
        return false;
    percent = static_cast<int>(std::lround(factor * 100.0));
    return true;
}

} // namespace

int read_settings_option(const char* name, const char* value, SceneSettings& settings,
                         std::string& problem)
{
    for (const SwitchOption& option : switch_options) {
        if (std::strcmp(name, option.name) == 0 ||
            (std::strncmp(name, "no-", 3) == 0 && std::strcmp(name + 3, option.name) == 0)) {
            settings.*option.field = name[0] != 'n';
            return 1;
        }
    }
    if (std::strcmp(name, "texture") == 0) {
        const int kind = find_texture_kind(value);
        if (!is_settings_texture(kind)) {
            problem = "--texture wants one of";
            for (int choice : settings_textures)
                problem = problem + " " + texture_kind_labels[choice];
            return -1;
        }
        settings.texture = kind;
        return 2;
    }
    if (std::strcmp(name, "speed") == 0) {
        if (!read_speed(value, settings.speed_percent)) {
            problem = "--speed wants a factor from 0.25 to 4";
            return -1;
        }
        return 2;
    }
    return 0;
}
