#include "scene/scene_settings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "common/same_word.h"
#include "common/saver_limits.h"

const int settings_textures[settings_texture_count] = {
    SPHERE, NOTSPHERE, GRADIENT, SMOKE, FOG, RING, STAR, SAND, CHECK, GRILLE, FLECK};
// What each looks like on the sphere's inside, in a word.
const char* const settings_texture_names[settings_texture_count] = {
    "glow", "hollow", "horizon", "smoke", "fog", "ring", "star", "sand", "checks", "grid", "noise"};

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
constexpr SettingChoice monitor_choices[] = {{monitors_across, "one picture across all", nullptr},
                                             {monitors_each, "a picture on each", nullptr},
                                             {monitors_main, "a picture on the main one", nullptr}};
constexpr SettingChoice black_delays[] = {{0, "never", nullptr},
                                          {10, "10 minutes", nullptr},
                                          {30, "30 minutes", nullptr},
                                          {60, "60 minutes", nullptr}};
constexpr SettingChoice motion_choices[] = {{motion_as_desktop, "as the desktop says", "desktop"},
                                            {motion_full, "full", "full"},
                                            {motion_gentle, "gentle", "gentle"}};
constexpr SettingChoice wallpaper_rates[] = {{60, "60 frames a second", nullptr},
                                             {30, "30 frames a second", nullptr},
                                             {15, "15 frames a second", nullptr}};

constexpr unsigned everywhere =
    in_dialog | in_daemon_entry | as_display_option | as_snapshot_option | in_wallpaper_page;
// What concerns the saver's frames, not the picture a snapshot shows.
constexpr unsigned saving = in_dialog | in_daemon_entry | as_display_option;

constexpr Setting flag(const char* stored, const char* label, const char* option,
                       bool SceneSettings::*field, unsigned places)
{
    return {SettingKind::flag, stored, label, option, nullptr, field, nullptr, 0, 1, 0,
            nullptr,           0,      places};
}

template <int count>
constexpr Setting number(const char* stored, const char* label, const char* option,
                         const char* value, int SceneSettings::*field, int lowest, int highest,
                         int option_scale, const SettingChoice (&choices)[count], unsigned places)
{
    return {SettingKind::number, stored,  label, option, value, nullptr, field, lowest, highest,
            option_scale,        choices, count, places};
}

template <int count>
constexpr Setting choice(const char* stored, const char* label, const char* option,
                         int SceneSettings::*field, const SettingChoice (&choices)[count],
                         unsigned places)
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
            count,
            places};
}

} // namespace

// Constant, so that usages made during static start-up can read it.
constexpr Setting settings_table[] = {
    {SettingKind::texture, "Texture", "Texture", "texture", "KIND", nullptr,
     &SceneSettings::texture, 0, 0, 0, nullptr, 0, everywhere},
    // The sphere paints over the stars: they would change nothing a person sees.
    flag("Stars", "Stars", "stars", &SceneSettings::stars, kept_option),
    flag("Particles", "Particles", "particles", &SceneSettings::particles, everywhere),
    flag("Overlays", "Screen overlays", "overlays", &SceneSettings::overlays, everywhere),
    number("Speed", "Speed", "speed", "FACTOR", &SceneSettings::speed_percent, 25, 400, 100, speeds,
           everywhere),
    // A display mode's frames come from its host's --delay.
    number("FrameRate", "Frame rate", nullptr, nullptr, &SceneSettings::frame_rate, 30, 100, 0,
           frame_rates, in_dialog),
    // A daemon gives each monitor a window of its own.
    choice("EachMonitor", "Monitors", nullptr, &SceneSettings::monitors, monitor_choices,
           in_dialog),
    choice("OnBattery", "Power saving", "on-battery", &SceneSettings::on_battery, battery_choices,
           saving),
    number("BlackAfter", "Go black after", "black-after", "MINUTES",
           &SceneSettings::black_after_minutes, 0, 1440, 1, black_delays, saving),
    // Only Linux has a wallpaper, so only its dialog has this row.
    number("WallpaperFrameRate", "Wallpaper rate", "wallpaper-rate", "FPS",
           &SceneSettings::wallpaper_frame_rate, 10, 100, 1, wallpaper_rates,
           in_dialog | as_display_option | in_wallpaper_page),
    choice("Motion", "Motion", "motion", &SceneSettings::motion, motion_choices, everywhere),
};
constexpr int setting_count = static_cast<int>(std::size(settings_table));
// A display mode marks the rows its options set in one word of 32 bits.
static_assert(setting_count <= 32, "DesktopOptions::settings_given has a bit for each row");

int scene_speed_percent(const SceneSettings& settings)
{
    const bool gentle = settings.motion == motion_gentle || (settings.motion == motion_as_desktop &&
                                                             settings.desktop_wants_less_motion);
    const int top = gentle                      ? gentle_speed_percent
                    : settings.texture == CHECK ? checks_top_speed_percent
                    : settings.texture == GRILLE || settings.texture == FLECK
                        ? lines_and_noise_top_speed_percent
                        : settings.speed_percent;
    return std::min(settings.speed_percent, top);
}

bool is_settings_texture(int kind)
{
    for (int choice : settings_textures)
        if (choice == kind)
            return true;
    return false;
}

int find_settings_texture(const char* word)
{
    if (word && same_word(word, different_texture_word))
        return different_texture;
    for (int i = 0; word && i < settings_texture_count; ++i)
        if (same_word(word, settings_texture_names[i]) ||
            find_texture_kind(word) == settings_textures[i])
            return settings_textures[i];
    return -1;
}

const char* settings_texture_name(int kind)
{
    for (int i = 0; i < settings_texture_count; ++i)
        if (settings_textures[i] == kind)
            return settings_texture_names[i];
    return kind == different_texture ? different_texture_word : "";
}

int other_texture(int last, unsigned draw)
{
    const bool was_one = is_settings_texture(last);
    int pick = static_cast<int>(draw % (settings_texture_count - (was_one ? 1 : 0)));
    // The ones after last move up a place, so that last is never drawn.
    if (was_one && settings_textures[pick] == last)
        pick = settings_texture_count - 1;
    return settings_textures[pick];
}

unsigned frame_interval_for(int frame_rate)
{
    constexpr int full_rate = 100;
    if (frame_rate >= full_rate)
        return full_rate_frame_interval_ms;
    return static_cast<unsigned>((1000 + frame_rate / 2) / frame_rate);
}

std::string option_number(const Setting& setting, int kept)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", kept / static_cast<double>(setting.option_scale));
    return text;
}

namespace
{

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

} // namespace

std::string setting_help(const Setting& setting)
{
    const SceneSettings defaults;
    std::string help = std::string(setting.label) + ": ";
    switch (setting.kind) {
    case SettingKind::texture:
        for (const char* name : settings_texture_names)
            help = help + name + " ";
        help = help + different_texture_word + " (" + different_texture_label +
               ": each start, and each day of a wallpaper) ";
        return help + "(default " + settings_texture_name(defaults.*setting.number) + ")";
    case SettingKind::flag:
        return help + "on or off (default " + (defaults.*setting.flag ? "on" : "off") + ")";
    case SettingKind::number:
        return help + "from " + option_number(setting, setting.lowest) + " to " +
               option_number(setting, setting.highest) + " (default " +
               option_number(setting, defaults.*setting.number) + ")";
    case SettingKind::choice:
        for (int i = 0; i < setting.choice_count; ++i) {
            const SettingChoice& choice = setting.choices[i];
            help += choice.word;
            // A word that says it all is said once.
            if (std::strcmp(choice.word, choice.label) != 0)
                help = help + " (" + choice.label + ")";
            help += " ";
        }
        return help + "(default " + word_of(setting, defaults.*setting.number) + ")";
    }
    return help;
}

namespace
{

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

std::string settings_synopsis(int indent, unsigned place)
{
    std::string words;
    for (const Setting& setting : setting_rows)
        if (setting.places & place)
            words += (words.empty() ? "" : " ") + synopsis_of(setting);
    return wrapped("", words, static_cast<std::size_t>(indent));
}

std::string settings_help(unsigned place)
{
    std::string help;
    for (const Setting& setting : setting_rows) {
        if (!(setting.places & place))
            continue;
        std::string first = std::string("  --") +
                            (setting.kind == SettingKind::flag ? "[no-]" : "") + setting.option;
        if (setting.kind != SettingKind::flag)
            first = first + " " + setting.value;
        help += wrapped(first, setting_help(setting), 22);
    }
    return help;
}

const Setting* find_settings_option(const char* name, unsigned place)
{
    const bool no = std::strncmp(name, "no-", 3) == 0;
    for (const Setting& setting : setting_rows) {
        if (!setting.option || !(setting.places & (place | kept_option)))
            continue;
        const bool flag = setting.kind == SettingKind::flag;
        if (std::strcmp(flag && no ? name + 3 : name, setting.option) == 0)
            return &setting;
    }
    return nullptr;
}

int read_settings_option(const char* name, const char* value, SceneSettings& settings,
                         std::string& problem, unsigned place)
{
    const Setting* row = find_settings_option(name, place);
    if (!row)
        return 0;
    const Setting& setting = *row;
    if (setting.kind == SettingKind::flag) {
        settings.*setting.flag = std::strncmp(name, "no-", 3) != 0;
        return 1;
    }
    problem = std::string("--") + setting.option + " wants ";
    if (setting.kind == SettingKind::texture) {
        const int kind = find_settings_texture(value);
        if (kind >= 0) {
            settings.*setting.number = kind;
            return 2;
        }
        problem += "one of";
        for (const char* word : settings_texture_names)
            problem = problem + " " + word;
        problem = problem + " " + different_texture_word;
        return -1;
    }
    if (setting.kind == SettingKind::choice) {
        for (int i = 0; i < setting.choice_count; ++i) {
            if (value && same_word(value, setting.choices[i].word)) {
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
