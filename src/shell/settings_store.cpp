#include "shell/settings_store.h"

#include <cstring>

const char* const settings_key = "Software\\orbdrift";
const char* const last_texture_value = "LastTexture";

int read_texture_value(HKEY key, const char* name_value, int fallback)
{
    char name[16] = {};
    DWORD type = 0;
    DWORD size = sizeof name - 1; // the last byte stays the end of the text
    if (RegQueryValueExA(key, name_value, nullptr, &type, reinterpret_cast<LPBYTE>(name), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return fallback;
    const int kind = find_settings_texture(name);
    return kind >= 0 ? kind : fallback;
}

LSTATUS write_texture_value(HKEY key, const char* name, int kind)
{
    const char* text = kind == different_texture ? "Different" : texture_kind_labels[kind];
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(std::strlen(text) + 1));
}

namespace
{

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

LSTATUS write_dword(HKEY key, const char* name, DWORD value)
{
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value);
}

LSTATUS write_setting(HKEY key, const Setting& setting, const SceneSettings& settings)
{
    if (setting.kind != SettingKind::texture)
        return write_dword(key, setting.stored,
                           setting.kind == SettingKind::flag
                               ? (settings.*setting.flag ? 1 : 0)
                               : static_cast<DWORD>(settings.*setting.number));
    return write_texture_value(key, setting.stored, settings.*setting.number);
}

} // namespace

LSTATUS write_settings(const SceneSettings& settings)
{
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExA(HKEY_CURRENT_USER, settings_key, 0, nullptr, 0, KEY_WRITE,
                                     nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    for (const Setting& setting : setting_rows)
        if (status == ERROR_SUCCESS)
            status = write_setting(key, setting, settings);
    // Where values are kept in a file, closing the key is what writes them.
    const LSTATUS closed = RegCloseKey(key);
    return status != ERROR_SUCCESS ? status : closed;
}

SceneSettings read_saved_settings()
{
    SceneSettings settings;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, settings_key, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return settings;
    for (const Setting& setting : setting_rows) {
        DWORD value = 0;
        if (setting.kind == SettingKind::texture)
            settings.*setting.number =
                read_texture_value(key, setting.stored, settings.*setting.number);
        else if (!read_dword(key, setting.stored, static_cast<DWORD>(setting.lowest),
                             static_cast<DWORD>(setting.highest), value))
            continue;
        else if (setting.kind == SettingKind::flag)
            settings.*setting.flag = value != 0;
        else
            settings.*setting.number = static_cast<int>(value);
    }
    RegCloseKey(key);
    return settings;
}

int read_last_texture()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, settings_key, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return -1;
    const int texture = read_texture_value(key, last_texture_value, -1);
    RegCloseKey(key);
    return is_settings_texture(texture) ? texture : -1;
}
