#include "shell/saver_settings.h"

#include <cstdlib>
#include <string>

#include "settings_dialog.h"
#include "shell/render_proc.h"

namespace
{

// The dialog numbers the controls of the settings in the table's order.
int control_of(const Setting& setting)
{
    return IDC_FIRST_SETTING + static_cast<int>(&setting - settings_table);
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
int nearest_choice(const Setting& setting, int value)
{
    int best = 0;
    for (int i = 1; i < setting.choice_count; ++i) {
        const int distance = std::abs(setting.choices[i].value - value);
        if (distance < std::abs(setting.choices[best].value - value))
            best = i;
    }
    return best;
}

void add_item(HWND dialog, int control, const char* label)
{
    SendDlgItemMessageA(dialog, control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
}

// A row the dialog offers and has a control for: a platform's dialog may
// leave out a row that means nothing there.
bool in_this_dialog(HWND dialog, const Setting& setting)
{
    return (setting.places & in_dialog) && GetDlgItem(dialog, control_of(setting));
}

void show_setting(HWND dialog, const Setting& setting, const SceneSettings& settings)
{
    const int control = control_of(setting);
    int choice = 0;
    switch (setting.kind) {
    case SettingKind::flag:
        CheckDlgButton(dialog, control, settings.*setting.flag ? BST_CHECKED : BST_UNCHECKED);
        return;
    case SettingKind::texture:
        for (int i = 0; i < settings_texture_count; ++i) {
            add_item(dialog, control, settings_texture_names[i]);
            if (settings_textures[i] == settings.*setting.number)
                choice = i;
        }
        add_item(dialog, control, different_texture_label);
        if (settings.*setting.number == different_texture)
            choice = settings_texture_count;
        break;
    case SettingKind::number:
    case SettingKind::choice:
        for (int i = 0; i < setting.choice_count; ++i)
            add_item(dialog, control, setting.choices[i].label);
        choice = nearest_choice(setting, settings.*setting.number);
        break;
    }
    SendDlgItemMessageA(dialog, control, CB_SETCURSEL, static_cast<WPARAM>(choice), 0);
}

// What the dialog shows; a list left at the choice it opened with keeps the
// value it stood for, even one between the choices.
void take_setting(HWND dialog, const Setting& setting, const SceneSettings& opened,
                  SceneSettings& settings)
{
    const int control = control_of(setting);
    if (setting.kind == SettingKind::flag) {
        settings.*setting.flag = IsDlgButtonChecked(dialog, control) == BST_CHECKED;
        return;
    }
    const LRESULT choice = SendDlgItemMessageA(dialog, control, CB_GETCURSEL, 0, 0);
    if (setting.kind == SettingKind::texture) {
        if (choice >= 0 && choice < settings_texture_count)
            settings.*setting.number = settings_textures[choice];
        else if (choice == settings_texture_count)
            settings.*setting.number = different_texture;
    } else if (choice >= 0 && choice < setting.choice_count &&
               choice != nearest_choice(setting, opened.*setting.number)) {
        settings.*setting.number = setting.choices[choice].value;
    }
}

SceneSettings shown(HWND dialog, const SceneSettings& opened)
{
    SceneSettings settings = opened;
    for (const Setting& setting : setting_rows)
        if (in_this_dialog(dialog, setting))
            take_setting(dialog, setting, opened, settings);
    return settings;
}

} // namespace

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
        for (const Setting& setting : setting_rows)
            if (in_this_dialog(dialog, setting))
                show_setting(dialog, setting, scene_settings);
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
