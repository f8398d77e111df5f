// Any bytes as the settings file a person edits: every value can be asked
// for with any room, and a save afterwards keeps every line it does not own
// and reads back as what was saved.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/posix_settings_file.h"
#include "platform/win32.h"

namespace
{

char folder[] = "/tmp/orbdrift-settings-fuzz.XXXXXX";

void remove_folder()
{
    const std::string own = std::string(folder) + "/orbdrift";
    std::remove((own + "/settings").c_str());
    rmdir(own.c_str());
    rmdir(folder);
}

const std::string settings = [] {
    if (!mkdtemp(folder))
        std::abort();
    std::atexit(remove_folder);
    setenv("XDG_CONFIG_HOME", folder, 1);
    const std::string own = std::string(folder) + "/orbdrift";
    mkdir(own.c_str(), 0700);
    return own + "/settings";
}();

std::size_t line_count(const std::string& text)
{
    const auto ends = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    return ends + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

void ask_every_value(std::uint8_t room)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\orbdrift", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    for (const char* name : {"Texture", "Stars", "Speed", "FrameRate", "", "speed "}) {
        BYTE data[256];
        DWORD type = 0;
        DWORD size = room;
        const LSTATUS status = RegQueryValueExA(key, name, nullptr, &type, data, &size);
        if (status == ERROR_SUCCESS && (size > room || (type != REG_SZ && type != REG_DWORD)))
            std::abort();
    }
    RegCloseKey(key);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::ofstream(settings, std::ios::binary | std::ios::trunc) << text;
    ask_every_value(data[0]);

    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\orbdrift", 0, nullptr, 0, KEY_WRITE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return 0; // a file too large to be settings
    const DWORD speed = data[0];
    RegSetValueExA(key, "Speed", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&speed), sizeof speed);
    if (RegCloseKey(key) != ERROR_SUCCESS)
        std::abort();
    std::ostringstream saved;
    saved << std::ifstream(settings, std::ios::binary).rdbuf();
    const std::size_t before = line_count(text);
    const std::size_t after = line_count(saved.str());
    if (after < before || after > before + 2)
        std::abort();
    DWORD read = 0;
    DWORD room = sizeof read;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\orbdrift", 0, KEY_READ, &key) != ERROR_SUCCESS ||
        RegQueryValueExA(key, "Speed", nullptr, nullptr, reinterpret_cast<BYTE*>(&read), &room) !=
            ERROR_SUCCESS ||
        read != speed)
        std::abort();
    RegCloseKey(key);
    return 0;
}
