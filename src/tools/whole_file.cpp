#include "tools/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace
{

bool write_all(int fd, const std::vector<std::uint8_t>& bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno != EINTR)
            return false;
        done += wrote < 0 ? 0 : static_cast<std::size_t>(wrote);
    }
    return true;
}

// Closes the descriptor; false, errno kept, when the write or close failed.
bool written_and_closed(int fd, bool written)
{
    const int error = errno;
    if (close(fd) != 0 && written)
        return false;
    errno = error;
    return written;
}

bool write_into(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_CLOEXEC);
    return fd >= 0 && written_and_closed(fd, write_all(fd, bytes));
}

// The mode a file made by open() with 0666 would have.
mode_t new_file_mode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

} // namespace

bool write_whole_file(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    struct stat about {};
    const bool there = stat(path.c_str(), &about) == 0;
    if (there && !S_ISREG(about.st_mode))
        return write_into(path, bytes);
    // A link to a file is kept, and its file replaced.
    char resolved[PATH_MAX];
    const std::string target = there && realpath(path.c_str(), resolved) ? resolved : path;
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash);
    const std::string name = target.substr(slash + 1);
    std::string copy = folder + "/." + name + ".XXXXXX";
    const int fd = mkstemp(&copy[0]);
    if (fd < 0)
        return false;
    const bool whole = fchmod(fd, there ? about.st_mode & 07777 : new_file_mode()) == 0 &&
                       write_all(fd, bytes) && fsync(fd) == 0;
    if (!written_and_closed(fd, whole) || rename(copy.c_str(), target.c_str()) != 0) {
        const int error = errno;
        unlink(copy.c_str());
        errno = error;
        return false;
    }
    return true;
}
