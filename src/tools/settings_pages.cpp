// Writes what people read about the settings from the one table of them:
// the X screen-saver daemon's entry for its settings program, and the man
// page's lines on the settings' options and file, put into its template in
// the place of the comment lines that ask for them; and the wallpaper
// plugin's schema, script and page.
//   settings-pages xml
//   settings-pages man TEMPLATE
//   settings-pages plasma-schema | plasma-script | plasma-page
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "scene/scene_settings.h"
#include "tools/plasma_pages.h"

namespace
{

// Text in a man page: a hyphen is written \-.
std::string roff(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '-' ? std::string("\\-") : std::string(1, c);
    return out;
}

std::string choice_option(const Setting& setting, const SettingChoice& choice)
{
    return std::string("--") + setting.option + " " +
           (choice.word ? choice.word : option_number(setting, choice.value));
}

// One choice of a list of the daemon's dialog; without an option, the
// choice that writes nothing into the command.
void put_choice(std::ostringstream& xml, const Setting& setting, const std::string& word,
                const std::string& label, const std::string& option)
{
    xml << "    <option id=\"" << setting.option << "-" << word << "\" _label=\"" << setting.label
        << ": " << label << "\"" << (option.empty() ? "" : " arg-set=\"" + option + "\"") << "/>\n";
}

// A list for each setting, whose first choice leaves what orbdrift /c saved
// in charge; every other choice is written as its option and wins, the
// default too, so that what the dialog shows is what is drawn.
void put_setting(std::ostringstream& xml, const Setting& setting)
{
    const std::string option = std::string("--") + setting.option;
    xml << "  <select id=\"" << setting.option << "\">\n";
    put_choice(xml, setting, "saved", "as orbdrift's own settings say", "");
    switch (setting.kind) {
    case SettingKind::texture:
        for (const char* name : settings_texture_names)
            put_choice(xml, setting, name, name, option + " " + name);
        put_choice(xml, setting, different_texture_word, different_texture_label,
                   option + " " + different_texture_word);
        break;
    case SettingKind::flag:
        put_choice(xml, setting, "on", "on", option);
        put_choice(xml, setting, "off", "off", "--no-" + std::string(setting.option));
        break;
    case SettingKind::number:
    case SettingKind::choice:
        for (int i = 0; i < setting.choice_count; ++i) {
            const SettingChoice& choice = setting.choices[i];
            put_choice(xml, setting, choice.word ? choice.word : std::to_string(choice.value),
                       choice.label, choice_option(setting, choice));
        }
        break;
    }
    xml << "  </select>\n\n";
}

std::string xml_entry()
{
    std::ostringstream xml;
    xml << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n\n"
        << "<screensaver name=\"orbdrift\" _label=\"orbdrift\" gl=\"yes\">\n\n"
        << "  <command arg=\"--root\"/>\n\n";
    for (const Setting& setting : setting_rows)
        if (setting.places & in_daemon_entry)
            put_setting(xml, setting);
    xml << "  <number id=\"delay\" type=\"slider\" arg=\"--delay %\"\n"
           "          _label=\"Frame rate\" _low-label=\"Low\" _high-label=\"High\"\n"
           "          low=\"10000\" high=\"100000\" default=\"10000\"\n"
           "          convert=\"invert\"/>\n\n"
           "  <_description>\n"
           "You are inside a slowly turning sphere, speckled blue by default, lit by a\n"
           "light that circles outside it, seen through a camera that drifts, pauses\n"
           "and drifts again, between two black letterbox bands that breathe in and out.\n"
           "The first choice of each list leaves what orbdrift's own settings say;\n"
           "any other choice wins over them.\n"
           "  </_description>\n"
           "</screensaver>\n";
    return xml.str();
}

// The options of the settings offered at place (as_display_option or
// as_snapshot_option), each page with those of its own command.
std::string man_synopsis(unsigned place)
{
    std::string lines;
    for (const Setting& setting : setting_rows) {
        if (!(setting.places & place))
            continue;
        if (setting.kind == SettingKind::flag)
            lines += ".RB [ \\-\\-[no\\-]" + roff(setting.option) + " ]\n";
        else
            lines += ".RB [ \\-\\-" + roff(setting.option) + "\n.IR " + setting.value + " ]\n";
    }
    return lines;
}

std::string man_options(unsigned place)
{
    std::string lines;
    for (const Setting& setting : setting_rows) {
        if (!(setting.places & place))
            continue;
        const std::string option = "\\-\\-" + roff(setting.option);
        if (setting.kind == SettingKind::flag)
            lines += ".TP\n.BR " + option + " \", \" \\-\\-no\\-" + roff(setting.option) + "\n";
        else
            lines += ".TP\n.BI " + option + " \" " + setting.value + "\"\n";
        lines += roff(setting_help(setting)) + ".\n";
    }
    return lines;
}

std::string man_file()
{
    std::string lines;
    for (const Setting& setting : setting_rows) {
        lines += std::string(".I ") + setting.stored + "\n";
        if (setting.kind == SettingKind::texture)
            lines += "(a texture's name),\n";
        else if (setting.kind == SettingKind::flag)
            lines += "(0 or 1),\n";
        else
            lines += "(" + std::to_string(setting.lowest) + " to " +
                     std::to_string(setting.highest) + "),\n";
    }
    return lines.substr(0, lines.size() - 2) + ".\n";
}

void put(std::string& page, const std::string& mark, const std::string& lines)
{
    const std::size_t at = page.find(mark + "\n");
    if (at != std::string::npos)
        page.replace(at, mark.size() + 1, lines);
}

} // namespace

int main(int argc, char** argv)
{
    const struct {
        const char* name;
        std::string (*write)();
    } whole_pages[] = {{"xml", xml_entry},
                       {"plasma-schema", plasma_config_schema},
                       {"plasma-script", plasma_settings_script},
                       {"plasma-page", plasma_config_page}};
    for (const auto& whole : whole_pages) {
        if (argc == 2 && std::strcmp(argv[1], whole.name) == 0) {
            std::fputs(whole.write().c_str(), stdout);
            return 0;
        }
    }
    std::ifstream page_file(argc == 3 && std::strcmp(argv[1], "man") == 0 ? argv[2] : "");
    if (!page_file) {
        std::fputs("usage: settings-pages xml | plasma-schema | plasma-script | plasma-page\n"
                   "       settings-pages man TEMPLATE\n",
                   stderr);
        return 2;
    }
    std::stringstream read;
    read << page_file.rdbuf();
    std::string page = read.str();
    put(page, ".\\\" the settings' options in the synopsis", man_synopsis(as_display_option));
    put(page, ".\\\" the settings' options", man_options(as_display_option));
    put(page, ".\\\" the picture's settings in the synopsis", man_synopsis(as_snapshot_option));
    put(page, ".\\\" the picture's settings", man_options(as_snapshot_option));
    put(page, ".\\\" the settings' file lines", man_file());
    std::fputs(page.c_str(), stdout);
    return 0;
}
