#include "linux/desktop_options.h"

#include <strings.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

std::string desktop_usage()
{
    return "Usage: orbdrift [--root | --window-id ID | --window |\n"
           "                 --wayland [--output NAME] |\n"
           "                 --wallpaper [--output NAME] [--layer background|bottom]]\n"
           "                [--delay MICROSECONDS]\n" +
           settings_synopsis(16, as_display_option) +
           "       orbdrift [/s | /p WINDOW | /c]\n"
           "Draws the inside of a lit, slowly turning sphere seen by a drifting camera.\n"
           "\n"
           "  --root              draw in the window XSCREENSAVER_WINDOW names, or on the\n"
           "                      root window when it is not set\n"
           "  --window-id ID      draw in the X window ID (decimal or 0x hexadecimal)\n"
           "  --window            draw in a window of its own, to try it out\n"
           "  --wayland           draw on every output of a Wayland compositor (the\n"
           "                      default, started without options, where WAYLAND_DISPLAY\n"
           "                      is set and DISPLAY is not)\n"
           "  --wallpaper         draw on the desktop, under every window, until ended:\n"
           "                      on Wayland where WAYLAND_DISPLAY is set, else on X\n"
           "  --output NAME       with --wayland or --wallpaper on Wayland, only on that\n"
           "                      output\n"
           "  --layer background|bottom  with --wallpaper on Wayland, the layer it is on\n"
           "                      (background unless said; bottom for a compositor or bar\n"
           "                      that draws its own background)\n"
           "  --delay MICROSECONDS  time between frames (default 10000, the least that\n"
           "                      takes effect; a wallpaper's from --wallpaper-rate)\n" +
           settings_help(as_display_option) +
           "  -h, --help          show this and end\n"
           "  --version           show the version and end\n"
           "\n"
           "Options not given come from the settings that /c saves. With no option at\n"
           "all it draws as --root does where XSCREENSAVER_WINDOW is set (a screen\n"
           "locker's way), and elsewhere shows the settings.\n"
           "The Windows switches: /s saves the screen until input, /p WINDOW draws inside\n"
           "that window, /c shows the settings.\n";
}

namespace
{

// An option's name without the one or two dashes of the desktop's conventions.
const char* option_name(const char* argument)
{
    if (argument[0] != '-')
        return "";
    return argument[1] == '-' ? argument + 2 : argument + 1;
}

bool is_option(const char* argument, const char* name)
{
    return std::strcmp(option_name(argument), name) == 0;
}

bool is_desktop_option(const char* argument)
{
    if (std::strncmp(argument, "--", 2) == 0)
        return true;
    SceneSettings scratch;
    std::string problem;
    for (const char* name : {"root", "window-id", "window", "wayland", "wallpaper", "output",
                             "layer", "delay", "help", "h", "version"})
        if (is_option(argument, name))
            return true;
    return read_settings_option(option_name(argument), "", scratch, problem, as_display_option) !=
           0;
}

// A whole number in decimal, or in hexadecimal after 0x; a leading zero
// does not make it octal, and no sign or blank is taken.
bool parse_number(const char* text, unsigned long long* value)
{
    if (!text)
        return false;
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* digits = hex ? text + 2 : text;
    const auto first = static_cast<unsigned char>(*digits);
    if (!(hex ? std::isxdigit(first) : std::isdigit(first)))
        return false;
    char* end = nullptr;
    errno = 0;
    *value = std::strtoull(digits, &end, hex ? 16 : 10);
    return errno == 0 && *end == '\0';
}

HWND as_window(unsigned long long id)
{
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(id));
}

DesktopOptions refused(std::string problem)
{
    DesktopOptions options;
    options.mode = DesktopMode::bad;
    options.problem = std::move(problem);
    return options;
}

const char* const root_alone[] = {"orbdrift", "--root", nullptr};

// The command line alone, its settings over the defaults.
DesktopOptions read_command_line(int argc, const char* const* argv, const char* screensaver_window)
{
    DesktopOptions options;
    // A screen locker runs its saver with no argument and the window to draw
    // in named only in XSCREENSAVER_WINDOW; anyone else who starts the saver
    // bare wants its settings, as on Windows.
    const bool bare = argc < 2;
    if (bare && screensaver_window && *screensaver_window)
        return read_command_line(2, root_alone, screensaver_window);
    if (bare || !is_desktop_option(argv[1]))
        return options;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        unsigned long long number = 0;
        const int taken = read_settings_option(option_name(argument), value, options.settings,
                                               options.problem, as_display_option);
        if (taken != 0) {
            if (taken < 0)
                return refused(options.problem);
            options.settings_given |=
                1u << (find_settings_option(option_name(argument), as_display_option) -
                       settings_table);
            i += taken - 1;
        } else if (is_option(argument, "help") || is_option(argument, "h")) {
            options.mode = DesktopMode::help;
            return options;
        } else if (is_option(argument, "version")) {
            options.mode = DesktopMode::version;
            return options;
        } else if (is_option(argument, "root")) {
            options.mode = DesktopMode::root;
            options.window = nullptr;
            if (screensaver_window && *screensaver_window) {
                if (!parse_number(screensaver_window, &number))
                    return refused("XSCREENSAVER_WINDOW is not a window id: " +
                                   std::string(screensaver_window));
                options.window = as_window(number);
            }
        } else if (is_option(argument, "window-id")) {
            if (!parse_number(value, &number))
                return refused("--window-id wants a window id");
            options.mode = DesktopMode::window_id;
            options.window = as_window(number);
            ++i;
        } else if (is_option(argument, "window")) {
            options.mode = DesktopMode::window;
        } else if (is_option(argument, "wayland")) {
            options.mode = DesktopMode::wayland;
        } else if (is_option(argument, "wallpaper")) {
            options.mode = DesktopMode::wallpaper;
        } else if (is_option(argument, "output")) {
            if (!value || !*value)
                return refused("--output wants the name of an output");
            options.output = value;
            ++i;
        } else if (is_option(argument, "layer")) {
            // Words are taken in any case.
            const bool bottom = value && strcasecmp(value, "bottom") == 0;
            if (!bottom && !(value && strcasecmp(value, "background") == 0))
                return refused("--layer wants background or bottom");
            options.layer = bottom ? WaylandLayer::bottom : WaylandLayer::background;
            ++i;
        } else if (is_option(argument, "delay")) {
            if (!parse_number(value, &number) || number > 0xFFFFFFFFull * 1000)
                return refused("--delay wants a number of microseconds");
            options.delay_ms = static_cast<UINT>(number / 1000);
            ++i;
        } else {
            return refused(std::string("unknown option ") + argument);
        }
    }
    if (options.mode == DesktopMode::windows_switches)
        return refused("these options alone draw nowhere: add --root, --window-id, --window, "
                       "--wayland or --wallpaper");
    if (!options.output.empty() && options.mode != DesktopMode::wayland &&
        options.mode != DesktopMode::wallpaper)
        return refused("--output goes with --wayland or --wallpaper");
    if (options.layer != WaylandLayer::overlay && options.mode != DesktopMode::wallpaper)
        return refused("--layer goes with --wallpaper");
    return options;
}

void copy_setting(const Setting& row, const SceneSettings& from, SceneSettings& to)
{
    if (row.flag)
        to.*row.flag = from.*row.flag;
    else
        to.*row.number = from.*row.number;
}

} // namespace

DesktopOptions parse_desktop_options(int argc, const char* const* argv,
                                     const DesktopSession& session)
{
    DesktopOptions options;
    // Started with nothing in a Wayland session without X, as an idle daemon
    // would start it: the saver can only be a Wayland client. A Windows
    // switch still means what it says.
    if (argc < 2 && session.wayland_display && !session.x_display)
        options.mode = DesktopMode::wayland;
    else
        options = read_command_line(argc, argv, session.screensaver_window);
    // A wallpaper goes where the session is: in a Wayland session that also
    // runs X programs, an X window would be one more window, not the desktop.
    const bool wayland_session = session.wayland_display && *session.wayland_display;
    options.on_wayland = options.mode == DesktopMode::wayland ||
                         (options.mode == DesktopMode::wallpaper && wayland_session);
    if (options.mode == DesktopMode::wallpaper && !options.on_wayland && !options.output.empty())
        return refused("--output names a Wayland output; on X the wallpaper covers the screen");
    if (options.mode == DesktopMode::wallpaper && !options.on_wayland &&
        options.layer != WaylandLayer::overlay)
        return refused("--layer names a Wayland layer; on X the wallpaper is the desktop's window");
    if (options.mode == DesktopMode::wallpaper && options.layer == WaylandLayer::overlay)
        options.layer = WaylandLayer::background;
    read_under_options(options, SceneSettings());
    return options;
}

void read_under_options(DesktopOptions& options, const SceneSettings& saved)
{
    SceneSettings settings = saved;
    for (int row = 0; row < setting_count; ++row)
        if (options.settings_given & (1u << row))
            copy_setting(settings_table[row], options.settings, settings);
    options.settings = settings;
    // A wallpaper is seen all day: its frame rate is a setting of its own,
    // and the saver's delay after which nobody is watching is not its.
    const bool wallpaper = options.mode == DesktopMode::wallpaper;
    if (wallpaper)
        options.settings.black_after_minutes = 0;
    options.frame_interval_ms = options.delay_ms.value_or(frame_interval_for(
        wallpaper ? options.settings.wallpaper_frame_rate : options.settings.frame_rate));
}
