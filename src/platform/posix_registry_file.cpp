// The advapi32 registry calls for HKEY_CURRENT_USER, kept in a text file a
// person can read and edit (platform/posix_settings_file.h). Each key is a
// "[Software\orbdrift]" line followed by its "Name=value" lines; a value of
// decimal digits that fits 32 bits is a REG_DWORD, any other a REG_SZ. What
// cannot be read is passed over. An open key holds the file as it was read
// when the key was opened; the values set on it reach the file in one write
// when it is closed, so that a save is whole or not at all.
#include <strings.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/posix_settings_file.h"

namespace
{

struct OpenKey {
    std::string path;
    std::vector<std::string> lines;
    bool changed;
};

std::vector<std::unique_ptr<OpenKey>> open_keys;

constexpr std::size_t none = std::string::npos;

bool same_name(const std::string& a, const char* b)
{
    return strcasecmp(a.c_str(), b) == 0;
}

// A person's edit may leave blanks around names, values and brackets.
std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    const std::size_t last = text.find_last_not_of(" \t\r");
    return first == none ? "" : text.substr(first, last - first + 1);
}

bool is_key_line(const std::string& line)
{
    const std::string text = trimmed(line);
    return text.size() >= 2 && text.front() == '[' && text.back() == ']';
}

std::string key_of(const std::string& line)
{
    const std::string text = trimmed(line);
    return trimmed(text.substr(1, text.size() - 2));
}

// The name of a "Name=value" line, or "" for any other line.
std::string name_of(const std::string& line)
{
    const std::size_t equals = line.find('=');
    return equals == none || is_key_line(line) ? "" : trimmed(line.substr(0, equals));
}

std::string text_of(const std::string& line)
{
    return trimmed(line.substr(line.find('=') + 1));
}

// Where the first "[path]" line stands, as the one a reader of the file sees.
std::size_t key_line(const std::vector<std::string>& lines, const std::string& path)
{
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (is_key_line(lines[i]) && same_name(key_of(lines[i]), path.c_str()))
            return i;
    return none;
}

// The key's first line of that name; with no such line, none, and last is
// left at the key's last value line (or the key's own line).
std::size_t value_line(const std::vector<std::string>& lines, std::size_t key, const char* name,
                       std::size_t& last)
{
    last = key;
    for (std::size_t i = key + 1; i < lines.size() && !is_key_line(lines[i]); ++i) {
        const std::string found = name_of(lines[i]);
        if (found.empty())
            continue;
        if (same_name(found, name))
            return i;
        last = i;
    }
    return none;
}

OpenKey* open_key_of(HKEY key)
{
    for (const auto& open : open_keys)
        if (reinterpret_cast<HKEY>(open.get()) == key)
            return open.get();
    return nullptr;
}

// A file that is there but cannot be taken is not opened, for reading or
// for a save: the save would replace what could not be read.
LSTATUS open_key(const char* path, bool create, HKEY* result)
{
    SettingsFile file = read_settings_file();
    if (file.status != ERROR_SUCCESS)
        return file.status;
    if (!create && key_line(file.lines, path) == none)
        return ERROR_FILE_NOT_FOUND;
    open_keys.push_back(std::make_unique<OpenKey>(OpenKey{path, std::move(file.lines), false}));
    *result = reinterpret_cast<HKEY>(open_keys.back().get());
    return ERROR_SUCCESS;
}

bool is_dword(const std::string& text)
{
    return !text.empty() && text.size() <= 10 &&
           text.find_first_not_of("0123456789") == std::string::npos &&
           std::strtoull(text.c_str(), nullptr, 10) <= 0xFFFFFFFFull;
}

} // namespace

LSTATUS RegOpenKeyExA(HKEY parent, LPCSTR sub_key, DWORD, REGSAM, HKEY* result)
{
    if (!result || !sub_key)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    if (parent != HKEY_CURRENT_USER)
        return ERROR_FILE_NOT_FOUND;
    return open_key(sub_key, false, result);
}

LSTATUS RegOpenKeyA(HKEY parent, LPCSTR sub_key, HKEY* result)
{
    return RegOpenKeyExA(parent, sub_key, 0, KEY_READ, result);
}

// The key is made in the file with its first value.
LSTATUS RegCreateKeyExA(HKEY parent, LPCSTR sub_key, DWORD, LPSTR, DWORD, REGSAM, void*,
                        HKEY* result, LPDWORD)
{
    // A key is a line of its own: a path that would end or break it cannot be kept.
    if (!result || !sub_key || !*sub_key || std::strpbrk(sub_key, "]\n\r") ||
        parent != HKEY_CURRENT_USER)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    return open_key(sub_key, true, result);
}

// As Windows: writes only as many bytes as the value has, writes nothing
// into a buffer too small for it, and reports the value's size either way.
LSTATUS RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size)
{
    const OpenKey* open = open_key_of(key);
    if (!open)
        return ERROR_INVALID_HANDLE;
    const std::size_t key_at = key_line(open->lines, open->path);
    std::size_t last = 0;
    const std::size_t line =
        key_at == none ? none : value_line(open->lines, key_at, name ? name : "", last);
    if (line == none)
        return ERROR_FILE_NOT_FOUND;
    const std::string text = text_of(open->lines[line]);
    std::string bytes = text + '\0';
    DWORD kind = REG_SZ;
    if (is_dword(text)) {
        const auto number = static_cast<DWORD>(std::strtoul(text.c_str(), nullptr, 10));
        bytes.assign(reinterpret_cast<const char*>(&number), sizeof number);
        kind = REG_DWORD;
    }
    if (type)
        *type = kind;
    const DWORD room = size ? *size : 0;
    const auto needed = static_cast<DWORD>(bytes.size());
    if (size)
        *size = needed;
    if (!data)
        return ERROR_SUCCESS;
    if (room < needed)
        return ERROR_MORE_DATA;
    std::memcpy(data, bytes.data(), needed);
    return ERROR_SUCCESS;
}

LSTATUS RegSetValueExA(HKEY key, LPCSTR name, DWORD, DWORD type, const BYTE* data, DWORD size)
{
    OpenKey* open = open_key_of(key);
    if (!open)
        return ERROR_INVALID_HANDLE;
    std::string text;
    if (type == REG_DWORD && data && size == sizeof(DWORD)) {
        DWORD number = 0;
        std::memcpy(&number, data, sizeof number);
        text = std::to_string(number);
    } else if (type == REG_SZ && data) {
        text.assign(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));
    } else {
        return ERROR_INVALID_PARAMETER;
    }
    // One value a line: a name or text that would start another cannot be kept.
    if (!name || !*name || std::strpbrk(name, "=\n\r[") || text.find_first_of("\n\r") != std::string::npos)
        return ERROR_INVALID_PARAMETER;
    std::vector<std::string>& lines = open->lines;
    const std::string value = std::string(name) + "=" + text;
    std::size_t key_at = key_line(lines, open->path);
    if (key_at == none) {
        key_at = lines.size();
        lines.push_back("[" + open->path + "]");
    }
    std::size_t last = 0;
    const std::size_t line = value_line(lines, key_at, name, last);
    if (line == none)
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last + 1), value);
    else
        lines[line] = value;
    open->changed = true;
    return ERROR_SUCCESS;
}

// Where a key's values are written: a save fails here, and says why.
LSTATUS RegCloseKey(HKEY key)
{
    for (auto it = open_keys.begin(); it != open_keys.end(); ++it) {
        if (reinterpret_cast<HKEY>(it->get()) == key) {
            const LSTATUS status =
                (*it)->changed ? write_settings_file((*it)->lines) : ERROR_SUCCESS;
            open_keys.erase(it);
            return status;
        }
    }
    return ERROR_INVALID_HANDLE;
}
