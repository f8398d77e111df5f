#include "shell/start_choices.h"

#include <random>

#include "platform/win32.h"
#include "shell/settings_store.h"

std::function<unsigned()> texture_draw = [] { return std::random_device{}(); };

namespace
{

DWORD day_looked_at_ms = 0;
int texture_day = 0; // the local date whose texture is shown, as yyyymmdd

int today()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now.wYear * 10000 + now.wMonth * 100 + now.wDay;
}

bool desktop_wants_less_motion()
{
    BOOL animations = TRUE;
    return SystemParametersInfoA(SPI_GETCLIENTAREAANIMATION, 0, &animations, 0) && !animations;
}

// A start that cannot remember its texture still shows one: only the
// next start may then repeat it.
int next_texture()
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, settings_key, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return other_texture(-1, texture_draw());
    const int texture =
        other_texture(read_texture_value(key, last_texture_value, -1), texture_draw());
    write_texture_value(key, last_texture_value, texture);
    RegCloseKey(key);
    return texture;
}

} // namespace

void settle_start_choices(SceneSettings& settings)
{
    if (settings.motion == motion_as_desktop)
        settings.desktop_wants_less_motion = desktop_wants_less_motion();
    settings.texture_varies = settings.texture == different_texture;
    if (settings.texture_varies) {
        settings.texture = next_texture();
        texture_day = today();
        day_looked_at_ms = GetTickCount();
    }
}

int texture_of_a_new_day()
{
    constexpr DWORD minute_ms = 60000; // a day's change seen within a minute is soon enough
    if (GetTickCount() - day_looked_at_ms < minute_ms)
        return -1;
    day_looked_at_ms = GetTickCount();
    const int day = today();
    if (day == texture_day)
        return -1;
    texture_day = day;
    return next_texture();
}
