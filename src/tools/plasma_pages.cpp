#include "tools/plasma_pages.h"

#include <sstream>

#include "scene/scene_settings.h"

namespace
{

// What an entry left empty means: orbdrift's own saved setting holds.
const char* const as_saved = "as orbdrift's settings say";

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text)
        out += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
    return out + "\"";
}

// The values a setting's entry may hold, each with its label, the empty one
// first: [["", "as ..."], ["smoke", "smoke"], ...].
std::string choices_of(const Setting& setting)
{
    std::string list = "[[\"\", " + quoted(as_saved) + "]";
    const auto add = [&list](const std::string& word, const std::string& label) {
        list += ", [" + quoted(word) + ", " + quoted(label) + "]";
    };
    switch (setting.kind) {
    case SettingKind::texture:
        for (const char* name : settings_texture_names)
            add(name, name);
        add(different_texture_word, different_texture_label);
        break;
    case SettingKind::flag:
        add("on", "on");
        add("off", "off");
        break;
    case SettingKind::number:
        for (int i = 0; i < setting.choice_count; ++i)
            add(option_number(setting, setting.choices[i].value), setting.choices[i].label);
        break;
    case SettingKind::choice:
        for (int i = 0; i < setting.choice_count; ++i)
            add(setting.choices[i].word, setting.choices[i].label);
        break;
    }
    return list + "]";
}

template <typename Write> void for_each_row(Write write)
{
    int index = 0;
    for (const Setting& setting : setting_rows)
        if (setting.places & in_wallpaper_page)
            write(setting, index++);
}

} // namespace

std::string plasma_config_schema()
{
    std::ostringstream xml;
    xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<kcfg xmlns=\"http://www.kde.org/standards/kcfg/1.0\"\n"
           "      xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
           "      xsi:schemaLocation=\"http://www.kde.org/standards/kcfg/1.0 "
           "http://www.kde.org/standards/kcfg/1.0/kcfg.xsd\">\n"
           "  <kcfgfile name=\"\"/>\n"
           "  <group name=\"General\">\n";
    for_each_row([&xml](const Setting& setting, int) {
        xml << "    <entry name=\"" << setting.stored << "\" type=\"String\">\n"
            << "      <label>" << setting.label << "; empty: " << as_saved << "</label>\n"
            << "      <default></default>\n"
            << "    </entry>\n";
    });
    xml << "  </group>\n</kcfg>\n";
    return xml.str();
}

std::string plasma_settings_script()
{
    std::ostringstream js;
    js << ".pragma library\n"
          "// The wallpaper's settings, each an entry of its configuration that holds\n"
          "// the value of one of orbdrift's options, or nothing for the saved one.\n"
          "var rows = [\n";
    for_each_row([&js](const Setting& setting, int index) {
        js << (index ? ",\n" : "") << "    {key: " << quoted(setting.stored)
           << ", option: " << quoted(setting.option)
           << ", flag: " << (setting.kind == SettingKind::flag ? "true" : "false")
           << ", label: " << quoted(setting.label) << ",\n     choices: " << choices_of(setting)
           << "}";
    });
    js << "\n];\n\n"
          "// The options a configuration gives the scene, its empty entries left out.\n"
          "function options(configuration) {\n"
          "    var list = [];\n"
          "    for (var i = 0; i < rows.length; ++i) {\n"
          "        var value = configuration[rows[i].key];\n"
          "        if (!value)\n"
          "            continue;\n"
          "        if (rows[i].flag)\n"
          "            list.push((value === \"off\" ? \"--no-\" : \"--\") + rows[i].option);\n"
          "        else\n"
          "            list.push(\"--\" + rows[i].option, value);\n"
          "    }\n"
          "    return list;\n"
          "}\n";
    return js.str();
}

// Plasma hands a page its entries as properties named cfg_ and the entry's
// name, which must be declared: one line each, and one box.
std::string plasma_config_page()
{
    std::ostringstream qml;
    qml << "import QtQuick 2.15\n"
           "import QtQuick.Controls 2.15 as Controls\n"
           "import org.kde.kirigami 2.20 as Kirigami\n"
           "import \"../code/settings.js\" as Settings\n\n"
           "Kirigami.FormLayout {\n"
           "    id: page\n\n";
    for_each_row([&qml](const Setting& setting, int) {
        qml << "    property string cfg_" << setting.stored << "\n";
    });
    qml << "\n"
           "    component SettingBox: Controls.ComboBox {\n"
           "        property var row\n"
           "        property string value\n"
           "        signal picked(string word)\n"
           "        Kirigami.FormData.label: row.label + \":\"\n"
           "        model: row.choices.map(function (choice) { return choice[1]; })\n"
           "        currentIndex: Math.max(0, row.choices.findIndex(function (choice) {\n"
           "            return choice[0] === value;\n"
           "        }))\n"
           "        onActivated: picked(row.choices[index][0])\n"
           "    }\n";
    for_each_row([&qml](const Setting& setting, int index) {
        qml << "\n    SettingBox {\n"
            << "        row: Settings.rows[" << index << "]\n"
            << "        value: page.cfg_" << setting.stored << "\n"
            << "        onPicked: page.cfg_" << setting.stored << " = word\n"
            << "    }\n";
    });
    qml << "}\n";
    return qml.str();
}
