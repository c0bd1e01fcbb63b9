// The export's file operations on POSIX systems: descriptors, fsync, rename.
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#ifdef __linux__
#include <sys/xattr.h>
#endif

#include "FileReplace.h"
#include "FileReplaceNames.h"

namespace file_ops {

namespace {

// Writes all of `bytes` from the start of the file; retries short and
// interrupted writes.
bool WriteAllAt(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

// Takes the disk space the file needs beyond its current size.
bool Reserve(int fd, off_t current, off_t wanted)
{
    if (wanted <= current)
        return true;
    if (::posix_fallocate(fd, current, wanted - current) == 0)
        return true;
    // A failed reservation may have grown the file: give it back its size.
    // The reservation has failed either way; a failed truncate adds nothing.
    [[maybe_unused]] const int truncated = ::ftruncate(fd, current);
    return false;
}

#ifdef __linux__
// Copies every extended attribute the target accepts (POSIX ACLs are held as
// the attribute system.posix_acl_access); the rest, such as a security label
// we may not set, keeps the folder's default.
void CopyExtendedAttributes(int from, int to)
{
    const ssize_t size = ::flistxattr(from, nullptr, 0);
    if (size <= 0)
        return;
    std::vector<char> names(static_cast<size_t>(size));
    const ssize_t listed = ::flistxattr(from, names.data(), names.size());
    for (ssize_t at = 0; at < listed;) {
        const char* name = names.data() + at;
        // Copied only when read whole: a value that changed size in between
        // is left out rather than cut.
        const ssize_t valueSize = ::fgetxattr(from, name, nullptr, 0);
        if (valueSize >= 0) {
            std::vector<char> value(static_cast<size_t>(valueSize));
            if (::fgetxattr(from, name, value.data(), value.size()) == valueSize)
                (void)::fsetxattr(to, name, value.data(), value.size(), 0);
        }
        at += static_cast<ssize_t>(std::char_traits<char>::length(name)) + 1;
    }
}
#endif

} // namespace

void WritableFile::CloseUnchecked()
{
    if (IsOpen())
        ::close(static_cast<int>(m_handle));
    m_handle = Closed;
}

bool WritableFile::Overwrite(const std::string& bytes)
{
    const int fd = static_cast<int>(m_handle);
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return false;
    const auto size = static_cast<off_t>(bytes.size());
    return Reserve(fd, info.st_size, size) && WriteAllAt(fd, bytes) && ::ftruncate(fd, size) == 0;
}

uint32_t WritableFile::LinkCount() const
{
    struct stat info {};
    if (::fstat(static_cast<int>(m_handle), &info) != 0)
        return 1;
    return static_cast<uint32_t>(info.st_nlink);
}

void WritableFile::CopyAccessTo(const WritableFile& to) const
{
    const int target = static_cast<int>(to.m_handle);
    struct stat info {};
    if (::fstat(static_cast<int>(m_handle), &info) != 0)
        return;
    // Another user's file stays theirs only where we may give it away (as
    // root); else at least its group, when we belong to it.
    if (::fchown(target, info.st_uid, info.st_gid) != 0 && ::fchown(target, static_cast<uid_t>(-1), info.st_gid) != 0) {
        // The new file keeps our owner and group.
    }
    (void)::fchmod(target, info.st_mode & 07777);
#ifdef __linux__
    CopyExtendedAttributes(static_cast<int>(m_handle), target);
#endif
}

bool WritableFile::SyncAndClose()
{
    const int fd = static_cast<int>(m_handle);
    m_handle = Closed;
    const bool synced = ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    return synced && closed;
}

WritableFile OpenExisting(const std::filesystem::path& path)
{
    return WritableFile(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
}

WritableFile CreateNew(const std::filesystem::path& path)
{
    // 0666 less the umask, as any newly created file.
    return WritableFile(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
}

WritableFile CreateUnique(const std::filesystem::path& folder, std::filesystem::path& created)
{
    for (int attempt = 0; attempt < UniqueNameAttempts; ++attempt) {
        const std::filesystem::path candidate = folder / (".velmora-" + RandomHex(8));
        WritableFile file = CreateNew(candidate);
        if (file.IsOpen()) {
            created = candidate;
            return file;
        }
        if (errno != EEXIST)
            break;
    }
    return {};
}

bool MoveOver(const std::filesystem::path& from, const std::filesystem::path& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

void SyncFolder(const std::filesystem::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    (void)::fsync(fd);
    ::close(fd);
}

std::FILE* OpenForWriting(const std::filesystem::path& path) { return std::fopen(path.c_str(), "wb"); }

} // namespace file_ops
