#include "platform/posix_desktop_animation.h"

#include <cstdlib>
#include <fstream>
#include <string>

namespace
{

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
    std::ifstream file(home + "/kdeglobals");
    const std::string key = "AnimationDurationFactor";
    bool in_kde = false;
    AnimationWish wish = animation_unsaid;
    for (std::string line; std::getline(file, line);) {
        line = trimmed(line);
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
