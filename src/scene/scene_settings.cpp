#include "scene/scene_settings.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

const int settings_textures[settings_texture_count] = {
    SPHERE, NOTSPHERE, GRADIENT, SMOKE, FOG, RING, STAR, SAND, CHECK, GRILLE, FLECK};

namespace
{

constexpr SettingChoice speeds[] = {{25, "a quarter", nullptr},
                                    {50, "half", nullptr},
                                    {100, "normal", nullptr},
                                    {200, "twice", nullptr},
                                    {400, "four times", nullptr}};
constexpr SettingChoice frame_rates[] = {{100, "100 frames a second", nullptr},
                                         {60, "60 frames a second", nullptr},
                                         {30, "30 frames a second", nullptr}};
constexpr SettingChoice battery_choices[] = {{battery_same, "the same as on mains", "same"},
                                             {battery_slower, "30 frames a second", "slower"},
                                             {battery_black, "a black screen", "black"}};
constexpr SettingChoice monitor_choices[] = {
    {monitors_across, "one picture across all", nullptr},
    {monitors_each, "a picture on each", nullptr},
    {monitors_main, "a picture on the main one", nullptr}};
constexpr SettingChoice black_delays[] = {{0, "never", nullptr},
                                          {10, "10 minutes", nullptr},
                                          {30, "30 minutes", nullptr},
                                          {60, "60 minutes", nullptr}};
constexpr SettingChoice wallpaper_rates[] = {{60, "60 frames a second", nullptr},
                                             {30, "30 frames a second", nullptr},
                                             {15, "15 frames a second", nullptr}};

constexpr Setting flag(const char* stored, const char* label, const char* option,
                       bool SceneSettings::*field)
{
    return {SettingKind::flag, stored, label, option, nullptr, field, nullptr, 0, 1, 0, nullptr, 0};
}

template <int count>
constexpr Setting number(const char* stored, const char* label, const char* option,
                         const char* value, int SceneSettings::*field, int lowest, int highest,
                         int option_scale, const SettingChoice (&choices)[count])
{
    return {SettingKind::number, stored,  label, option, value, nullptr, field, lowest, highest,
            option_scale,        choices, count};
}

template <int count>
constexpr Setting choice(const char* stored, const char* label, const char* option,
                         int SceneSettings::*field, const SettingChoice (&choices)[count])
{
    return {SettingKind::choice,
            stored,
            label,
            option,
            "CHOICE",
            nullptr,
            field,
            choices[0].value,
            choices[count - 1].value,
            1,
            choices,
            count};
}

} // namespace

// Constant, so that usages made during static start-up can read it.
constexpr Setting settings_table[setting_count] = {
    {SettingKind::texture, "Texture", "Texture", "texture", "KIND", nullptr,
     &SceneSettings::texture, 0, 0, 0, nullptr, 0},
    flag("Stars", "Stars", "stars", &SceneSettings::stars),
    flag("Particles", "Particles", "particles", &SceneSettings::particles),
    flag("Overlays", "Screen overlays", "overlays", &SceneSettings::overlays),
    number("Speed", "Speed", "speed", "FACTOR", &SceneSettings::speed_percent, 25, 400, 100,
           speeds),
    number("FrameRate", "Frame rate", nullptr, nullptr, &SceneSettings::frame_rate, 30, 100, 0,
           frame_rates),
    choice("EachMonitor", "Monitors", nullptr, &SceneSettings::monitors, monitor_choices),
    choice("OnBattery", "On battery", "on-battery", &SceneSettings::on_battery, battery_choices),
    number("BlackAfter", "Go black after", "black-after", "MINUTES",
           &SceneSettings::black_after_minutes, 0, 1440, 1, black_delays),
    number("WallpaperFrameRate", "Wallpaper rate", "wallpaper-rate", "FPS",
           &SceneSettings::wallpaper_frame_rate, 10, 100, 1, wallpaper_rates),
};

bool is_settings_texture(int kind)
{
    for (int choice : settings_textures)
        if (choice == kind)
            return true;
    return false;
}

unsigned frame_interval_for(int frame_rate)
{
    constexpr int full_rate = 100;
    if (frame_rate >= full_rate)
        return 5;
    return static_cast<unsigned>((1000 + frame_rate / 2) / frame_rate);
}

namespace
{

// A number's option in the units it is written in: 0.25 for a speed kept as 25.
std::string option_number(const Setting& setting, int kept)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", kept / static_cast<double>(setting.option_scale));
    return text;
}

const char* word_of(const Setting& setting, int kept)
{
    for (int i = 0; i < setting.choice_count; ++i)
        if (setting.choices[i].value == kept)
            return setting.choices[i].word;
    return "";
}

std::string synopsis_of(const Setting& setting)
{
    if (setting.kind == SettingKind::flag)
        return std::string("[--[no-]") + setting.option + "]";
    return std::string("[--") + setting.option + " " + setting.value + "]";
}

std::string help_of(const Setting& setting)
{
    const SceneSettings defaults;
    std::string help = std::string(setting.label) + ": ";
    switch (setting.kind) {
    case SettingKind::texture:
        for (int choice : settings_textures)
            help = help + texture_kind_labels[choice] + " ";
        return help + "(default " + texture_kind_labels[defaults.*setting.number] + ")";
    case SettingKind::flag:
        return help + "on or off (default " + (defaults.*setting.flag ? "on" : "off") + ")";
    case SettingKind::number:
        return help + "from " + option_number(setting, setting.lowest) + " to " +
               option_number(setting, setting.highest) + " (default " +
               option_number(setting, defaults.*setting.number) + ")";
    case SettingKind::choice:
        for (int i = 0; i < setting.choice_count; ++i)
            help = help + setting.choices[i].word + " (" + setting.choices[i].label + ") ";
        return help + "(default " + word_of(setting, defaults.*setting.number) + ")";
    }
    return help;
}

// Words after a first column, from column indent on, broken before 80 columns.
std::string wrapped(std::string line, const std::string& words, std::size_t indent)
{
    std::string text;
    bool started = false; // a word is on the line
    for (std::size_t start = 0; start < words.size();) {
        std::size_t end = words.find(' ', start);
        end = end == std::string::npos ? words.size() : end;
        const std::string word = words.substr(start, end - start);
        if (started && line.size() + 1 + word.size() > 79) {
            text += line + "\n";
            line.clear();
            started = false;
        }
        line += started ? " " : std::string(line.size() < indent ? indent - line.size() : 1, ' ');
        line += word;
        started = true;
        start = end + 1;
    }
    return text + line + "\n";
}

// A factor such as 0.5 or 2, kept as a whole number of the row's units. It
// is written as a person writes a number: decimal digits with at most one
// point, no sign, exponent, hexadecimal or blank. What falls between two
// kept values (0.4 minutes, a speed of 0.255) is refused, never rounded.
bool read_number(const Setting& setting, const char* text, int& kept)
{
    if (!text)
        return false;
    const std::size_t digits = std::strspn(text, "0123456789");
    const std::size_t fraction =
        text[digits] == '.' ? std::strspn(text + digits + 1, "0123456789") : 0;
    const std::size_t length = digits + (text[digits] == '.' ? 1 + fraction : 0);
    if (digits + fraction == 0 || text[length] != '\0')
        return false;
    const double value = std::strtod(text, nullptr) * setting.option_scale;
    const double whole = std::round(value);
    if (std::abs(value - whole) > 1e-6 || !(whole >= setting.lowest && whole <= setting.highest))
        return false;
    kept = static_cast<int>(whole);
    return true;
}

} // namespace

std::string settings_synopsis(int indent)
{
    std::string words;
    for (const Setting& setting : settings_table)
        if (setting.option)
            words += (words.empty() ? "" : " ") + synopsis_of(setting);
    return wrapped("", words, static_cast<std::size_t>(indent));
}

std::string settings_help()
{
    std::string help;
    for (const Setting& setting : settings_table) {
        if (!setting.option)
            continue;
        std::string first = std::string("  --") +
                            (setting.kind == SettingKind::flag ? "[no-]" : "") + setting.option;
        if (setting.kind != SettingKind::flag)
            first = first + " " + setting.value;
        help += wrapped(first, help_of(setting), 22);
    }
    return help;
}

int read_settings_option(const char* name, const char* value, SceneSettings& settings,
                         std::string& problem)
{
    for (const Setting& setting : settings_table) {
        if (!setting.option)
            continue;
        const bool no = std::strncmp(name, "no-", 3) == 0;
        if (setting.kind == SettingKind::flag &&
            std::strcmp(no ? name + 3 : name, setting.option) == 0) {
            settings.*setting.flag = !no;
            return 1;
        }
        if (std::strcmp(name, setting.option) != 0 || setting.kind == SettingKind::flag)
            continue;
        problem = std::string("--") + setting.option + " wants ";
        if (setting.kind == SettingKind::texture) {
            const int kind = find_texture_kind(value);
            if (is_settings_texture(kind)) {
                settings.*setting.number = kind;
                return 2;
            }
            problem += "one of";
            for (int choice : settings_textures)
                problem = problem + " " + texture_kind_labels[choice];
            return -1;
        }
        if (setting.kind == SettingKind::choice) {
            for (int i = 0; i < setting.choice_count; ++i) {
                if (value && std::strcmp(value, setting.choices[i].word) == 0) {
                    settings.*setting.number = setting.choices[i].value;
                    return 2;
                }
            }
            problem += "one of";
            for (int i = 0; i < setting.choice_count; ++i)
                problem = problem + " " + setting.choices[i].word;
            return -1;
        }
        if (read_number(setting, value, settings.*setting.number))
            return 2;
        problem += std::string(setting.value) + " from " + option_number(setting, setting.lowest) +
                   " to " + option_number(setting, setting.highest);
        return -1;
    }
    return 0;
}
