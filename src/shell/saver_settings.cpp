#include "shell/saver_settings.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "settings_dialog.h"
#include "shell/render_proc.h"

const char* const settings_key = "Software\\orbdrift";

namespace
{

const char* const texture_value = "Texture";

struct Flag {
    const char* value;
    int control;
    bool SceneSettings::*field;
};

const Flag flags[] = {{"Stars", IDC_STARS, &SceneSettings::stars},
                      {"Particles", IDC_PARTICLES, &SceneSettings::particles},
                      {"Overlays", IDC_OVERLAYS, &SceneSettings::overlays},
                      {"EachMonitor", IDC_EACH_MONITOR, &SceneSettings::each_monitor}};

// A number and the list that offers some of its values.
struct Number {
    const char* value;
    int control;
    int SceneSettings::*field;
    DWORD lowest;
    DWORD highest;
    int choices[5];
    const char* labels[5];
    int choice_count;
};

const Number numbers[] = {
    {"Speed",
     IDC_SPEED,
     &SceneSettings::speed_percent,
     lowest_speed,
     highest_speed,
     {25, 50, 100, 200, 400},
     {"a quarter", "half", "normal", "twice", "four times"},
     5},
    {"FrameRate",
     IDC_FRAME_RATE,
     &SceneSettings::frame_rate,
     lowest_frame_rate,
     highest_frame_rate,
     {100, 60, 30},
     {"100 frames a second", "60 frames a second", "30 frames a second"},
     3}};

bool read_dword(HKEY key, const char* name, DWORD lowest, DWORD highest, DWORD& value)
{
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<LPBYTE>(&data), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof data || data < lowest || data > highest)
        return false;
    value = data;
    return true;
}

int read_texture(HKEY key, int fallback)
{
    char name[16] = {};
    DWORD type = 0;
    DWORD size = sizeof name - 1; // the last byte stays the end of the text
    if (RegQueryValueExA(key, texture_value, nullptr, &type, reinterpret_cast<LPBYTE>(name),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return fallback;
    const int kind = find_texture_kind(name);
    return is_settings_texture(kind) ? kind : fallback;
}

LSTATUS write_dword(HKEY key, const char* name, DWORD value)
{
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value);
}

LSTATUS write_settings(const SceneSettings& settings)
{
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExA(HKEY_CURRENT_USER, settings_key, 0, nullptr, 0, KEY_WRITE,
                                     nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    const char* texture = texture_kind_labels[settings.texture];
    status = RegSetValueExA(key, texture_value, 0, REG_SZ, reinterpret_cast<const BYTE*>(texture),
                            static_cast<DWORD>(std::strlen(texture) + 1));
    for (const Flag& flag : flags)
        if (status == ERROR_SUCCESS)
            status = write_dword(key, flag.value, settings.*flag.field ? 1 : 0);
    for (const Number& number : numbers)
        if (status == ERROR_SUCCESS)
            status = write_dword(key, number.value, static_cast<DWORD>(settings.*number.field));
    // Where values are kept in a file, closing the key is what writes them.
    const LSTATUS closed = RegCloseKey(key);
    return status != ERROR_SUCCESS ? status : closed;
}

void tell_not_saved(HWND owner, LSTATUS status)
{
    char reason[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   static_cast<DWORD>(status), 0, reason, sizeof reason, nullptr);
    std::string text = "orbdrift could not save its settings: ";
    text += *reason ? reason : "error " + std::to_string(status) + ".";
    while (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')
        text.pop_back();
    MessageBoxA(owner, text.c_str(), "orbdrift", MB_OK | MB_ICONERROR);
}

// The choice nearest to a value, which a saved value between choices shows as.
int nearest_choice(const Number& number, int value)
{
    int best = 0;
    for (int i = 1; i < number.choice_count; ++i) {
        const int distance = std::abs(number.choices[i] - value);
        if (distance < std::abs(number.choices[best] - value))
            best = i;
    }
    return best;
}

void show(HWND dialog, const SceneSettings& settings)
{
    for (int i = 0; i < settings_texture_count; ++i) {
        SendDlgItemMessageA(dialog, IDC_TEXTURE, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(texture_kind_labels[settings_textures[i]]));
        if (settings_textures[i] == settings.texture)
            SendDlgItemMessageA(dialog, IDC_TEXTURE, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    }
    for (const Flag& flag : flags)
        CheckDlgButton(dialog, flag.control, settings.*flag.field ? BST_CHECKED : BST_UNCHECKED);
    for (const Number& number : numbers) {
        for (int i = 0; i < number.choice_count; ++i)
            SendDlgItemMessageA(dialog, number.control, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(number.labels[i]));
        SendDlgItemMessageA(dialog, number.control, CB_SETCURSEL,
                            static_cast<WPARAM>(nearest_choice(number, settings.*number.field)),
                            0);
    }
}

// What the dialog shows; a list left at the choice it opened with keeps the
// value it stood for, even one between the choices.
SceneSettings shown(HWND dialog, const SceneSettings& opened)
{
    SceneSettings settings = opened;
    const LRESULT texture = SendDlgItemMessageA(dialog, IDC_TEXTURE, CB_GETCURSEL, 0, 0);
    if (texture >= 0 && texture < settings_texture_count)
        settings.texture = settings_textures[texture];
    for (const Flag& flag : flags)
        settings.*flag.field = IsDlgButtonChecked(dialog, flag.control) == BST_CHECKED;
    for (const Number& number : numbers) {
        const LRESULT choice = SendDlgItemMessageA(dialog, number.control, CB_GETCURSEL, 0, 0);
        if (choice >= 0 && choice < number.choice_count &&
            choice != nearest_choice(number, opened.*number.field))
            settings.*number.field = number.choices[choice];
    }
    return settings;
}

} // namespace

SceneSettings read_saved_settings()
{
    SceneSettings settings;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, settings_key, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return settings;
    settings.texture = read_texture(key, settings.texture);
    DWORD value = 0;
    for (const Flag& flag : flags)
        if (read_dword(key, flag.value, 0, 1, value))
            settings.*flag.field = value != 0;
    for (const Number& number : numbers)
        if (read_dword(key, number.value, number.lowest, number.highest, value))
            settings.*number.field = static_cast<int>(value);
    RegCloseKey(key);
    return settings;
}

void use_saved_settings()
{
    scene_settings = read_saved_settings();
    frame_interval_ms = frame_interval_for(scene_settings.frame_rate);
}

bool save_settings(HWND owner, const SceneSettings& settings)
{
    const LSTATUS status = write_settings(settings);
    if (status != ERROR_SUCCESS)
        tell_not_saved(owner, status);
    return status == ERROR_SUCCESS;
}

INT_PTR CALLBACK config_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        show(dialog, scene_settings);
        return TRUE;
    }
    if (message != WM_COMMAND || (LOWORD(wparam) != IDOK && LOWORD(wparam) != IDCANCEL))
        return 0;
    const bool saved =
        LOWORD(wparam) == IDOK && save_settings(dialog, shown(dialog, scene_settings));
    EndDialog(dialog, saved ? 1 : 0);
    return 1;
}

BOOL prepare_config_dialog(HINSTANCE)
{
    return TRUE;
}
