#include "platform/posix_desktop_animation.h"

#include <cstdlib>
#include <string>

#include "platform/posix_settings_file.h"

namespace
{

// KDE's file holds colours, fonts and the like: tens of kilobytes.
constexpr std::size_t kdeglobals_limit = 1024 * 1024;

std::string config_home()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/')
        return config;
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) + "/.config" : std::string();
}

// A line without the blanks around it.
std::string trimmed(const std::string& line)
{
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

AnimationWish kde_animation_wish()
{
    const std::string home = config_home();
    if (home.empty())
        return animation_unsaid;
    // Read as the saver's own settings are, so that a FIFO or a device in
    // its place neither holds up the start nor fills the memory.
    const SettingsFile file = read_small_file(home + "/kdeglobals", kdeglobals_limit);
    const std::string key = "AnimationDurationFactor";
    bool in_kde = false;
    AnimationWish wish = animation_unsaid;
    for (const std::string& whole : file.lines) {
        const std::string line = trimmed(whole);
        if (!line.empty() && line[0] == '[') {
            in_kde = line == "[KDE]";
        } else if (in_kde && line.compare(0, key.size(), key) == 0) {
            const std::string rest = trimmed(line.substr(key.size()));
            if (rest.empty() || rest[0] != '=')
                continue;
            // Any factor that is not zero slows or speeds animation; only 0
            // turns it off. The last such line wins, as KDE reads it.
            char* end = nullptr;
            const std::string value = trimmed(rest.substr(1));
            const double factor = std::strtod(value.c_str(), &end);
            if (!value.empty() && *end == '\0')
                wish = factor == 0.0 ? animation_off : animation_on;
        }
    }
    return wish;
}
