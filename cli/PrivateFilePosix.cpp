// POSIX: open(2) with O_NOFOLLOW and mode 0600.
#include "PrivateFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// A file left by an earlier run keeps its mode through O_CREAT: a regular
// one is narrowed to 0600 before it is emptied, so that nothing is lost when
// that is not allowed. Devices and pipes (/dev/stderr, a FIFO) are written
// as they are.
bool MakePrivateAndEmpty(int fd, std::string& reason)
{
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode))
        return true;
    if ((info.st_mode & 077) != 0 && fchmod(fd, 0600) != 0) {
        reason = std::string("cannot make it private to its owner: ") + std::strerror(errno);
        return false;
    }
    if (ftruncate(fd, 0) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace

std::FILE* CreatePrivateFile(const std::string& path, std::string& reason)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        // O_NOFOLLOW fails a symbolic link with ELOOP, which would otherwise
        // read as "Too many levels of symbolic links".
        struct stat link {};
        reason = errno == ELOOP && lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)
                     ? "it is a symbolic link (name the file itself)"
                     : std::strerror(errno);
        return nullptr;
    }
    std::FILE* file = MakePrivateAndEmpty(fd, reason) ? fdopen(fd, "w") : nullptr;
    if (file == nullptr) {
        if (reason.empty())
            reason = std::strerror(errno);
        close(fd);
    }
    return file;
}
