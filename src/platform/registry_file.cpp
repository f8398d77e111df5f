// The advapi32 registry calls for HKEY_CURRENT_USER, kept in a text file a
// person can read and edit: $XDG_CONFIG_HOME/orbdrift/settings. Each key is a
// "[Software\orbdrift]" line followed by its "Name=value" lines; a value of
// decimal digits that fits 32 bits is a REG_DWORD, any other a REG_SZ. What
// cannot be read is passed over, and the file is always written whole to a
// temporary file and renamed, so that a crash never leaves half of it.
#include <pwd.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32_api.h"

namespace
{

struct Value {
    std::string name;
    std::string text;
};

struct Key {
    std::string path;
    std::vector<Value> values;
};

using Hive = std::vector<Key>;

// An open key is its path under HKEY_CURRENT_USER; the file is read afresh
// on every call, as another process may have written it.
std::vector<std::unique_ptr<std::string>> open_keys;

bool same_name(const std::string& a, const char* b)
{
    return strcasecmp(a.c_str(), b) == 0;
}

std::string settings_folder()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return std::string(config) + "/orbdrift";
    const char* home = std::getenv("HOME");
    const passwd* user = home && *home ? nullptr : getpwuid(getuid());
    return std::string(user ? user->pw_dir : home ? home : "") + "/.config/orbdrift";
}

// A person's edit may leave blanks around names, values and brackets.
std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    const std::size_t last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

Hive read_hive()
{
    Hive hive;
    std::ifstream file(settings_folder() + "/settings");
    std::string line;
    while (std::getline(file, line)) {
        line = trimmed(line);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            hive.push_back({trimmed(line.substr(1, line.size() - 2)), {}});
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos && equals > 0 && !hive.empty())
            hive.back().values.push_back(
                {trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1))});
    }
    return hive;
}

LSTATUS status_of(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return ERROR_ACCESS_DENIED;
    case ENOSPC:
    case EDQUOT:
        return ERROR_DISK_FULL;
    case ENOENT:
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    default:
        return ERROR_WRITE_FAULT;
    }
}

// Makes the folder and any of its parents that are missing, private to the user.
bool make_folder(const std::string& folder)
{
    for (std::size_t slash = 1; slash != std::string::npos;) {
        slash = folder.find('/', slash + 1);
        if (mkdir(folder.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

LSTATUS write_hive(const Hive& hive)
{
    std::string text;
    for (const Key& key : hive) {
        text += "[" + key.path + "]\n";
        for (const Value& value : key.values)
            text += value.name + "=" + value.text + "\n";
    }
    const std::string folder = settings_folder();
    if (!make_folder(folder))
        return status_of(errno);
    std::string temporary = folder + "/settings.XXXXXX";
    const int fd = mkstemp(&temporary[0]);
    if (fd < 0)
        return status_of(errno);
    const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
                         fsync(fd) == 0;
    const int error = errno;
    if (close(fd) != 0 || !written || rename(temporary.c_str(), (folder + "/settings").c_str()) != 0) {
        const int failure = written ? errno : error;
        unlink(temporary.c_str());
        return status_of(failure);
    }
    return ERROR_SUCCESS;
}

Key* find_key(Hive& hive, const std::string& path)
{
    for (Key& key : hive)
        if (same_name(key.path, path.c_str()))
            return &key;
    return nullptr;
}

Value* find_value(Key& key, const char* name)
{
    for (Value& value : key.values)
        if (same_name(value.name, name))
            return &value;
    return nullptr;
}

const std::string* key_path(HKEY key)
{
    for (const auto& open : open_keys)
        if (reinterpret_cast<HKEY>(open.get()) == key)
            return open.get();
    return nullptr;
}

HKEY open_key(const char* path)
{
    open_keys.push_back(std::make_unique<std::string>(path));
    return reinterpret_cast<HKEY>(open_keys.back().get());
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
    Hive hive = read_hive();
    if (!find_key(hive, sub_key))
        return ERROR_FILE_NOT_FOUND;
    *result = open_key(sub_key);
    return ERROR_SUCCESS;
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
    *result = open_key(sub_key);
    return ERROR_SUCCESS;
}

// As Windows: writes only as many bytes as the value has, writes nothing
// into a buffer too small for it, and reports the value's size either way.
LSTATUS RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size)
{
    const std::string* path = key_path(key);
    if (!path)
        return ERROR_INVALID_HANDLE;
    Hive hive = read_hive();
    Key* found = find_key(hive, *path);
    const Value* value = found ? find_value(*found, name ? name : "") : nullptr;
    if (!value)
        return ERROR_FILE_NOT_FOUND;
    std::string bytes = value->text + '\0';
    DWORD kind = REG_SZ;
    if (is_dword(value->text)) {
        const auto number = static_cast<DWORD>(std::strtoul(value->text.c_str(), nullptr, 10));
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
    const std::string* path = key_path(key);
    if (!path)
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
    Hive hive = read_hive();
    Key* found = find_key(hive, *path);
    if (!found) {
        hive.push_back({*path, {}});
        found = &hive.back();
    }
    if (Value* value = find_value(*found, name))
        value->text = text;
    else
        found->values.push_back({name, text});
    return write_hive(hive);
}

LSTATUS RegCloseKey(HKEY key)
{
    for (auto it = open_keys.begin(); it != open_keys.end(); ++it) {
        if (reinterpret_cast<HKEY>(it->get()) == key) {
            open_keys.erase(it);
            return ERROR_SUCCESS;
        }
    }
    return ERROR_INVALID_HANDLE;
}

DWORD FormatMessageA(DWORD, const void*, DWORD message_id, DWORD, LPSTR buffer, DWORD size, void*)
{
    static const struct {
        DWORD id;
        const char* text;
    } messages[] = {{ERROR_PATH_NOT_FOUND, "The system cannot find the path specified."},
                    {ERROR_ACCESS_DENIED, "Access is denied."},
                    {ERROR_WRITE_FAULT, "The system cannot write to the specified device."},
                    {ERROR_DISK_FULL, "There is not enough space on the disk."}};
    for (const auto& message : messages) {
        const DWORD length = static_cast<DWORD>(std::strlen(message.text));
        if (message.id == message_id && buffer && size > length) {
            std::memcpy(buffer, message.text, length + 1);
            return length;
        }
    }
    return 0;
}
