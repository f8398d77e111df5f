#pragma once
#include <string>

#include "textures/texture_kind.h"

enum BatteryChoice { battery_same, battery_slower, battery_black };
// Where a saver window's pictures go when it covers several monitors; the
// first two are what a saved flag's 0 and 1 meant.
enum MonitorChoice { monitors_across, monitors_each, monitors_main };
// How much the scene moves: gentle holds it to a quarter of its pace, for
// people whom motion on the screen makes unwell; the desktop's wish is read
// at each start.
enum MotionChoice { motion_as_desktop, motion_full, motion_gentle };
constexpr int gentle_speed_percent = 25;
// Hard-edged checks, grid lines and, where the camera comes close to the
// sphere, the noise's grain, moving fast, make every place they pass flash
// several times a second over much of the screen: more than people with
// photosensitive epilepsy may be shown. Checks go at most at normal speed,
// grid lines and noise at twice it, the fastest that keeps them to the limit.
constexpr int checks_top_speed_percent = 100;
constexpr int lines_and_noise_top_speed_percent = 200;
// The frame rate of battery_slower.
constexpr int battery_frame_rate = 30;

// What a person may change about the picture and what it costs. The
// defaults draw the picture the saver has always drawn; scene setup reads
// them, the tops what concerns the frames.
class SceneSettings
{
public:
    virtual ~SceneSettings() = default;

    int texture = FLECK; // one of settings_textures
    bool stars = false;
    bool particles = false;
    bool overlays = false;           // both screen overlays
    int speed_percent = 100;         // of the clock's pace
    int frame_rate = 100;            // frames a second
    int monitors = monitors_across;  // one of MonitorChoice
    int on_battery = battery_slower; // how saving goes while the computer runs on battery
    int black_after_minutes = 0;     // of saving, after which it is black; 0 for never
    int wallpaper_frame_rate = 30;   // frames a second on the desktop, which it shows all day
    int motion = motion_as_desktop;  // one of MotionChoice
    // What the desktop asked for when this start read it; kept nowhere.
    bool desktop_wants_less_motion = false;
    // Whether this start's texture was chosen as a different one each time.
    bool texture_varies = false;
};

// The pace the scene runs at, in per cent of the clock's: the speed, held to
// gentle motion's when that is what is asked for, directly or by the desktop,
// and to the top speed of checks, grid lines or noise on the sphere.
int scene_speed_percent(const SceneSettings& settings);

extern SceneSettings scene_settings;

// The kinds that draw something on the sphere, in the order they are offered,
// and the word a person knows each by.
constexpr int settings_texture_count = 11;
extern const int settings_textures[settings_texture_count];
extern const char* const settings_texture_names[settings_texture_count];
bool is_settings_texture(int kind);
// The texture a person's word names, or its kind's label as settings files
// keep it, in any case; -1 for none.
int find_settings_texture(const char* word);
// A texture's word, for a kind that is a settings texture or different_texture.
const char* settings_texture_name(int kind);

// The texture choice that stands for another settings texture at each start,
// never the one of the start before; no texture kind has its number.
constexpr int different_texture = 100;
constexpr const char* different_texture_word = "different";
// How every list of textures offers it, after the textures.
constexpr const char* different_texture_label = "a different one each time";
// The settings texture a start draws after last, from a draw of any value:
// any but last, evenly.
int other_texture(int last, unsigned draw);

// The frame timer's interval for a frame rate; the full rate asks for
// full_rate_frame_interval_ms.
unsigned frame_interval_for(int frame_rate);

// One row a setting: where it is kept, its option, its field and the values
// it may take. The options and their usage, the saved values and the dialog
// all come from the rows, so a new setting is one row plus what it does.
// A number's option is written as a number, a choice's as one of its words.
enum class SettingKind { texture, flag, number, choice };

// Where a setting is offered to a person: only where it changes what that
// person sees.
enum SettingPlace : unsigned {
    in_dialog = 1,          // a control of the settings dialog, where the dialog has it
    in_daemon_entry = 2,    // the X screen-saver daemon's settings entry
    as_display_option = 4,  // an option of the display modes, in their usage and man page
    as_snapshot_option = 8, // an option of the snapshot tool
    // Offered nowhere, but its option is still taken wherever options are,
    // so that command lines written before keep working.
    kept_option = 16,
    // The desktop's wallpaper plugin's page: only what changes a picture
    // that is there all day.
    in_wallpaper_page = 32,
};

struct SettingChoice {
    int value;
    const char* label;
    const char* word; // a choice's, on command lines
};

struct Setting {
    SettingKind kind;
    const char* stored; // the registry value's name
    const char* label;  // in the dialog, and in the usage of its option
    const char* option; // on command lines, without dashes; null for none
    const char* value;  // what its option's value is called in a usage
    bool SceneSettings::*flag;
    int SceneSettings::*number; // a texture's or a number's field
    // A number or a choice: its range as kept, how many kept units its
    // option's unit is (a speed of 2 is kept as 200 per cent), and the
    // choices the dialog offers.
    int lowest;
    int highest;
    int option_scale;
    const SettingChoice* choices;
    int choice_count;
    unsigned places; // SettingPlace bits
};

// In the dialog's order, which numbers its controls from its first one;
// as many as the table has rows.
extern const Setting settings_table[];
extern const int setting_count;
// Every row, for a range-for.
struct SettingRows {
    const Setting* begin() const { return settings_table; }
    const Setting* end() const { return settings_table + setting_count; }
};
constexpr SettingRows setting_rows{};

// The options offered at place (as_display_option or as_snapshot_option):
// a line for a usage's synopsis, wrapped at 80 columns after indent, and
// one line of help for each.
std::string settings_synopsis(int indent, unsigned place);
std::string settings_help(unsigned place);

// One option of a command line that changes a setting, named without its
// dashes: "texture KIND", "particles", "no-particles" (and so for every
// flag with an option), "speed FACTOR", one taken at place. Returns how
// many arguments it took (1, or 2 with its value), 0 when the name is no
// setting's, and -1 when the value is wrong, with problem saying why.
int read_settings_option(const char* name, const char* value, SceneSettings& settings,
                         std::string& problem, unsigned place);
// The row of the setting such an option changes, or null for none.
const Setting* find_settings_option(const char* name, unsigned place);

// A number's option value for a value as kept: "0.25" for a speed of 25.
std::string option_number(const Setting& setting, int kept);
// What an option's values are, and its default: "Speed: from 0.25 to 4 (default 1)".
std::string setting_help(const Setting& setting);
