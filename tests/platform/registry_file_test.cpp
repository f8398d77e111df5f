#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>

#include "platform/posix_settings_file.h"
#include "platform/win32.h"

namespace
{

const char* const key_path = "Software\\orbdrift";

std::string file_text(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

std::string entries(const std::string& folder)
{
    std::set<std::string> names;
    DIR* listing = opendir(folder.c_str());
    while (const dirent* entry = listing ? readdir(listing) : nullptr)
        if (entry->d_name[0] != '.')
            names.insert(entry->d_name);
    if (listing)
        closedir(listing);
    std::string text;
    for (const std::string& name : names)
        text += name + " ";
    return text;
}

// A private XDG_CONFIG_HOME, removed with all it holds.
struct ConfigHome {
    std::string folder;
    std::string settings;
    ConfigHome()
    {
        char name[] = "/tmp/orbdrift-registry.XXXXXX";
        folder = mkdtemp(name);
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
        mkdir((folder + "/orbdrift").c_str(), 0755);
        settings = folder + "/orbdrift/settings";
    }
    ~ConfigHome() { std::system(("rm -rf " + folder).c_str()); }
};

LSTATUS save_speed(DWORD speed)
{
    HKEY key = nullptr;
    const LSTATUS opened = RegCreateKeyExA(HKEY_CURRENT_USER, key_path, 0, nullptr, 0, KEY_WRITE,
                                           nullptr, &key, nullptr);
    if (opened != ERROR_SUCCESS)
        return opened;
    RegSetValueExA(key, "Speed", 0, REG_DWORD, reinterpret_cast<BYTE*>(&speed), sizeof speed);
    return RegCloseKey(key);
}

std::string reason(LSTATUS status)
{
    char text[128] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, static_cast<DWORD>(status), 0, text,
                   sizeof text, nullptr);
    return text;
}

// As someone other than root, whom file modes do not stop.
bool as_a_user(const std::function<bool()>& check)
{
    if (geteuid() != 0)
        return check();
    const pid_t child = fork();
    if (child == 0)
        _exit(setgid(65534) == 0 && setuid(65534) == 0 && check() ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

TEST(RegistryFileTest, TheCurrentUsersKeysLiveInAFileAPersonCanReadAndEdit)
{
    ConfigHome home;
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key_path, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, nullptr, 0, KEY_READ, &key), ERROR_INVALID_PARAMETER);
    for (const char* path : {"", "a]b", "a\nb"}) // no key line could hold it
        EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                  nullptr),
                  ERROR_INVALID_PARAMETER);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key_path, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    for (DWORD speed : {150u, 200u}) // the second replaces the first
        EXPECT_EQ(RegSetValueExA(key, "Speed", 0, REG_DWORD, reinterpret_cast<BYTE*>(&speed), 4),
                  ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, "Texture", 0, REG_SZ, reinterpret_cast<const BYTE*>("SMOKE"), 6),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, "Two", 0, REG_SZ, reinterpret_cast<const BYTE*>("a\nb"), 4),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(entries(home.folder + "/orbdrift"), ""); // one write, when the key closes
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(file_text(home.settings), "[Software\\orbdrift]\nSpeed=200\nTexture=SMOKE\n");

    // A person's edit, with garbage and blanks around it, names in other cases
    // and no end to the last line.
    std::ofstream(home.settings) << "garbage\n [ Software\\orbdrift ]\r\n\tspeed = 75 \nno value\n"
                                    "Texture=FOG\nBig=4294967296\n[Other]\nSpeed=9";
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "software\\ORBDRIFT", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    HKEY second = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key_path, 0, KEY_READ, &second), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(second), ERROR_SUCCESS); // closed before the first
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    EXPECT_EQ(RegQueryValueExA(key, "Speed", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(value, 75u);
    char name[3] = {};
    size = sizeof name;
    EXPECT_EQ(RegQueryValueExA(key, "Texture", nullptr, &type, reinterpret_cast<BYTE*>(name), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 4u); // "FOG" and its end
    EXPECT_EQ(RegQueryValueExA(key, "no value", nullptr, &type, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExA(key, "Big", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ); // past 32 bits
    EXPECT_EQ(size, 11u);
    struct stat read {};
    stat(home.settings.c_str(), &read);
    RegCloseKey(key);
    struct stat closed {};
    stat(home.settings.c_str(), &closed);
    EXPECT_EQ(closed.st_ino, read.st_ino); // only read, never written

    // A save changes its own lines and keeps every other one.
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key_path, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    value = 1;
    RegSetValueExA(key, "Stars", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4);
    value = 100;
    RegSetValueExA(key, "Speed", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(file_text(home.settings), "garbage\n [ Software\\orbdrift ]\r\nSpeed=100\nno value\n"
                                        "Texture=FOG\nBig=4294967296\nStars=1\n[Other]\nSpeed=9\n");

    // A relative XDG_CONFIG_HOME is no place: the file goes under HOME, made private.
    setenv("XDG_CONFIG_HOME", "relative", 1);
    setenv("HOME", (home.folder + "/home").c_str(), 1);
    ASSERT_EQ(save_speed(100), ERROR_SUCCESS);
    struct stat made {};
    stat((home.folder + "/home/.config").c_str(), &made);
    EXPECT_EQ(made.st_mode & 07777, 0700u);
    stat((home.folder + "/home/.config/orbdrift/settings").c_str(), &made);
    EXPECT_EQ(made.st_mode & 07777, 0600u);

    // Where the folder should be there is a file: the save fails and says why.
    setenv("XDG_CONFIG_HOME", home.settings.c_str(), 1);
    EXPECT_EQ(reason(save_speed(100)), "The system cannot find the path specified.");
}

// What is there but cannot be read is no settings, at once, and a save
// refuses to replace it.
TEST(RegistryFileTest, AFileThatCannotBeTakenIsNeitherReadNorReplaced)
{
    const std::string key_line = "[Software\\orbdrift]\nSpeed=50\n";
    const struct {
        const char* what;
        std::function<void(const std::string&)> make;
        const char* reason;
    } files[] = {
        {"a FIFO", [](const std::string& path) { mkfifo(path.c_str(), 0600); },
         "The file type being saved or retrieved has been blocked."},
        {"a symlink to a device", // never the machine's own, which a wrong save would replace
         [](const std::string& path) {
             const std::string folder = path.substr(0, path.rfind('/'));
             const std::string zeros = folder + "/zero";
             // A node only root may make, where the mount honours it.
             struct statvfs mount {};
             if (geteuid() != 0 || statvfs(folder.c_str(), &mount) != 0 ||
                 (mount.f_flag & ST_NODEV) ||
                 mknod(zeros.c_str(), S_IFCHR | 0600, makedev(1, 5)) != 0)
                 mkfifo(zeros.c_str(), 0600);
             symlink(zeros.c_str(), path.c_str());
         },
         "The file type being saved or retrieved has been blocked."},
        {"a file over the limit",
         [&](const std::string& path) {
             std::ofstream(path) << key_line << std::string(settings_file_limit, '#');
         },
         "The file size exceeds the limit allowed and cannot be saved."},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.what);
        ConfigHome home;
        file.make(home.settings);
        struct stat before {};
        lstat(home.settings.c_str(), &before);
        HKEY key = nullptr;
        EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, key_path, 0, KEY_READ, &key), ERROR_SUCCESS);
        EXPECT_EQ(reason(save_speed(100)), file.reason);
        struct stat after {};
        lstat(home.settings.c_str(), &after);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_size, before.st_size);
    }

    ConfigHome home; // up to the limit is settings
    std::ofstream(home.settings) << key_line << std::string(settings_file_limit - key_line.size(), '#');
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key_path, 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);

    std::ofstream(home.settings) << key_line;
    chmod(home.settings.c_str(), 0);
    chmod(home.folder.c_str(), 0755);
    EXPECT_TRUE(as_a_user([] { return save_speed(100) == ERROR_ACCESS_DENIED; }));
    chmod(home.settings.c_str(), 0600);
    EXPECT_EQ(file_text(home.settings), key_line);

    ConfigHome locked; // the file's folder cannot be made
    chmod(locked.folder.c_str(), 0555);
    setenv("XDG_CONFIG_HOME", (locked.folder + "/new").c_str(), 1);
    EXPECT_TRUE(as_a_user([] { return save_speed(100) == ERROR_ACCESS_DENIED; }));
}

TEST(RegistryFileTest, ASaveKeepsTheFilesLinkAndModeAndIsWholeOrNothing)
{
    ConfigHome home;
    const std::string kept = home.folder + "/dotfiles";
    symlink("../dotfiles", home.settings.c_str()); // to a file not made yet
    ASSERT_EQ(save_speed(50), ERROR_SUCCESS);
    chmod(kept.c_str(), 0644);
    ASSERT_EQ(save_speed(200), ERROR_SUCCESS);
    struct stat link {};
    ASSERT_EQ(lstat(home.settings.c_str(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode));
    struct stat target {};
    stat(kept.c_str(), &target);
    EXPECT_EQ(target.st_mode & 07777, 0644u);
    EXPECT_EQ(file_text(kept), "[Software\\orbdrift]\nSpeed=200\n");

    // A write that the file size limit stops part way leaves the old file.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{20, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &small);
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, key_path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    RegSetValueExA(key, "Texture", 0, REG_SZ, reinterpret_cast<const BYTE*>("GRADIENT"), 9);
    EXPECT_EQ(RegCloseKey(key), ERROR_FILE_TOO_LARGE);
    const rlimit none{RLIM_INFINITY, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &none);
    EXPECT_EQ(file_text(kept), "[Software\\orbdrift]\nSpeed=200\n");
    EXPECT_EQ(entries(home.folder), "dotfiles orbdrift "); // no temporary file beside either
    EXPECT_EQ(entries(home.folder + "/orbdrift"), "settings ");

    // A save killed between naming its copy and the rename left the copy; the
    // next read (as every save begins) removes it, not a live process's save.
    const pid_t gone = fork();
    if (gone == 0)
        _exit(0);
    waitpid(gone, nullptr, 0);
    const std::string live = std::to_string(getppid());
    for (const std::string& pid : {std::to_string(gone), live, std::string("x")})
        std::ofstream(kept + ".new-" + pid) << "[Software\\orbdrift]\n";
    read_settings_file();
    EXPECT_EQ(entries(home.folder), "dotfiles dotfiles.new-" + live + " dotfiles.new-x orbdrift ");
}
