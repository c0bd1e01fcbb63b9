#include "PrivateBridgeFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "tools/posix/WriteAll.h"

namespace {

// Copies of the paths for the signal handler (no allocation there).
char g_signalFile[4096];
char g_signalDirectory[4096];

const char kDirectoryPrefix[] = "velmora-bridge.";
const char kFileName[] = "bridge";

std::string BaseDirectory()
{
    for (const char* variable : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
        const char* value = std::getenv(variable);
        if (value && value[0] == '/')
            return value;
    }
    return "/tmp";
}

void SetAside(char* copy, const std::string& path)
{
    if (path.size() < sizeof g_signalFile)
        std::memcpy(copy, path.c_str(), path.size() + 1);
}

// Removes the bridge directory `name` of `base` if it is ours and its host
// is gone. A live host holds a lock on its directory for as long as it runs
// (the kernel drops it when the host dies, even by SIGKILL), and it takes
// the lock before it writes its file; so a directory with a file and no
// lock is stale. Anything not made by a host of our user is left alone.
void RemoveIfStale(int base, const char* name)
{
    struct stat info;
    if (fstatat(base, name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid() ||
        (info.st_mode & 07777) != 0700)
        return;
    int directory = openat(base, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (directory < 0)
        return;
    if (flock(directory, LOCK_EX | LOCK_NB) == 0 && unlinkat(directory, kFileName, 0) == 0)
        unlinkat(base, name, AT_REMOVEDIR);
    close(directory); // drops the lock
}

void RemoveStaleDirectories(const std::string& basePath)
{
    DIR* base = opendir(basePath.c_str());
    if (!base)
        return;
    while (dirent* entry = readdir(base)) {
        if (std::strncmp(entry->d_name, kDirectoryPrefix, sizeof kDirectoryPrefix - 1) == 0)
            RemoveIfStale(dirfd(base), entry->d_name);
    }
    closedir(base);
}

} // namespace

PrivateBridgeFile::~PrivateBridgeFile()
{
    Remove();
}

bool PrivateBridgeFile::Create(const bridge::BridgeEndpoint& endpoint)
{
    const std::string text = bridge::FormatBridgeFile(endpoint);
    if (text.empty()) {
        errno = EINVAL;
        return false;
    }
    const std::string base = BaseDirectory();
    RemoveStaleDirectories(base);
    std::string pattern = base + "/" + kDirectoryPrefix + "XXXXXX";
    if (!mkdtemp(pattern.data()))
        return false;
    m_directory = pattern;
    SetAside(g_signalDirectory, m_directory);
    m_lock = open(m_directory.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    // Blocking: another host starting may hold it for a moment while it looks.
    if (m_lock < 0 || flock(m_lock, LOCK_EX) != 0)
        return false;
    const std::string file = m_directory + "/" + kFileName;
    int descriptor = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor < 0)
        return false;
    m_file = file;
    SetAside(g_signalFile, m_file);
    bool written = posix_io::WriteAll(descriptor, text.data(), text.size());
    int saved = errno;
    if (close(descriptor) != 0 && written) {
        written = false;
        saved = errno;
    }
    errno = saved;
    return written;
}

void PrivateBridgeFile::Remove()
{
    if (!m_file.empty())
        unlink(m_file.c_str());
    if (!m_directory.empty())
        rmdir(m_directory.c_str());
    if (m_lock >= 0)
        close(m_lock);
    m_lock = -1;
    m_file.clear();
    m_directory.clear();
    g_signalFile[0] = g_signalDirectory[0] = '\0';
}

void PrivateBridgeFile::RemoveOnSignal()
{
    if (g_signalFile[0])
        unlink(g_signalFile);
    if (g_signalDirectory[0])
        rmdir(g_signalDirectory);
}
