#include "platform/posix_settings_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace
{

std::string settings_folder()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return std::string(config) + "/orbdrift";
    const char* home = std::getenv("HOME");
    const passwd* user = home && *home ? nullptr : getpwuid(getuid());
    return std::string(user ? user->pw_dir : home ? home : "") + "/.config/orbdrift";
}

LSTATUS status_of(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
    case ELOOP:
        return ERROR_ACCESS_DENIED;
    case ENOSPC:
    case EDQUOT:
        return ERROR_DISK_FULL;
    case EFBIG:
        return ERROR_FILE_TOO_LARGE;
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

// At most limit + 1 bytes, so that a file over the limit shows as one.
LSTATUS read_regular(int fd, std::size_t limit, std::string& text)
{
    struct stat about {};
    if (fstat(fd, &about) != 0)
        return status_of(errno);
    if (!S_ISREG(about.st_mode))
        return ERROR_BAD_FILE_TYPE;
    text.resize(limit + 1);
    std::size_t length = 0;
    // A signal that interrupts a read is no end of the file: a save would
    // write back only the lines read before it.
    for (ssize_t got = 1; got != 0 && length < text.size();) {
        got = read(fd, &text[length], text.size() - length);
        if (got < 0 && errno != EINTR)
            return status_of(errno);
        length += got < 0 ? 0 : static_cast<std::size_t>(got);
        got = got < 0 ? 1 : got;
    }
    text.resize(length);
    return length > limit ? ERROR_FILE_TOO_LARGE : ERROR_SUCCESS;
}

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

bool write_all(int fd, const std::string& text)
{
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno != EINTR)
            return false;
        done += wrote < 0 ? 0 : static_cast<std::size_t>(wrote);
    }
    return true;
}

// The file that a save replaces: the settings file, or where its symlink
// points, as dotfiles kept in a repository are linked, also before the
// file it names has been made. Empty, with errno set, for a loop of links.
std::string save_target(std::string path)
{
    for (int hops = 0; hops < 40; ++hops) {
        char resolved[PATH_MAX];
        if (realpath(path.c_str(), resolved))
            return resolved;
        char named[PATH_MAX];
        const ssize_t length = readlink(path.c_str(), named, sizeof named);
        if (length < 0 || length == sizeof named)
            return path; // not a link: a file yet to be made, or one the save reports on
        const std::string link(named, static_cast<std::size_t>(length));
        path = link[0] == '/' ? link : path.substr(0, path.rfind('/') + 1) + link;
    }
    errno = ELOOP;
    return "";
}

// The copy a save names before its rename: a save killed between the two
// leaves it behind.
std::string copy_prefix(const std::string& target)
{
    return target + ".new-";
}

// Removes what saves of processes that are gone left beside the target. A
// live process's copy is its save under way.
void remove_left_copies(const std::string& target)
{
    const std::size_t slash = target.rfind('/');
    const std::string prefix = copy_prefix(target.substr(slash + 1));
    DIR* listing = opendir(target.substr(0, slash).c_str());
    while (const dirent* entry = listing ? readdir(listing) : nullptr) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string number = name.substr(prefix.size());
        if (number.empty() || number.size() > 9 ||
            number.find_first_not_of("0123456789") != std::string::npos)
            continue;
        if (kill(static_cast<pid_t>(std::stol(number)), 0) != 0 && errno == ESRCH)
            unlinkat(dirfd(listing), name.c_str(), 0);
    }
    if (listing)
        closedir(listing);
}

// The new text in a file of its own beside the target, named only once it
// is whole: a save that is killed before then leaves nothing behind. Where
// the file system has no unnamed files, it is named from the start.
int whole_copy(const std::string& folder, const std::string& name, const std::string& text,
               mode_t mode)
{
    int fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    const bool unnamed = fd >= 0;
    unlink(name.c_str()); // left by a process of the same number that was killed
    if (!unnamed)
        fd = open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, mode);
    if (fd < 0)
        return -1;
    const std::string descriptor = "/proc/self/fd/" + std::to_string(fd);
    if (fchmod(fd, mode) != 0 || !write_all(fd, text) || fsync(fd) != 0 ||
        (unnamed && linkat(AT_FDCWD, descriptor.c_str(), AT_FDCWD, name.c_str(),
                           AT_SYMLINK_FOLLOW) != 0)) {
        const int error = errno;
        close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

} // namespace

SettingsFile read_settings_file()
{
    const std::string path = settings_folder() + "/settings";
    // Every save reads first, so this also clears the way for the next save.
    const std::string target = save_target(path);
    if (!target.empty())
        remove_left_copies(target);
    return read_small_file(path, settings_file_limit);
}

SettingsFile read_small_file(const std::string& path, std::size_t limit)
{
    SettingsFile file;
    // Without blocking: a FIFO in the file's place must not hold up a start.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            file.status = status_of(errno);
        return file;
    }
    std::string text;
    file.status = read_regular(fd, limit, text);
    close(fd);
    if (file.status == ERROR_SUCCESS)
        file.lines = lines_of(text);
    return file;
}

LSTATUS write_settings_file(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + '\n';
    const std::string folder = settings_folder();
    if (!make_folder(folder))
        return status_of(errno);
    const std::string target = save_target(folder + "/settings");
    if (target.empty())
        return status_of(errno);
    const std::string target_folder = target.substr(0, target.rfind('/'));
    struct stat about {};
    const mode_t mode = stat(target.c_str(), &about) == 0 ? about.st_mode & 07777 : 0600;
    const std::string name = copy_prefix(target) + std::to_string(getpid());
    const int fd = whole_copy(target_folder, name, text, mode);
    if (fd < 0 || close(fd) != 0 || rename(name.c_str(), target.c_str()) != 0) {
        const int error = errno;
        unlink(name.c_str());
        return status_of(error);
    }
    // The rename itself lasts only once the folder is on the disk too.
    const int folder_fd = open(target_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder_fd >= 0) {
        fsync(folder_fd);
        close(folder_fd);
    }
    return ERROR_SUCCESS;
}
