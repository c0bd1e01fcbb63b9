#include "PrivateBridgeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// Copies of the paths for the signal handler (no allocation there).
char g_signalFile[4096];
char g_signalDirectory[4096];

std::string BaseDirectory()
{
    for (const char* variable : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
        const char* value = std::getenv(variable);
        if (value && value[0] == '/')
            return value;
    }
    return "/tmp";
}

bool WriteAll(int descriptor, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(descriptor, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

void SetAside(char* copy, const std::string& path)
{
    if (path.size() < sizeof g_signalFile)
        std::memcpy(copy, path.c_str(), path.size() + 1);
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
    std::string pattern = BaseDirectory() + "/velmora-bridge.XXXXXX";
    if (!mkdtemp(pattern.data()))
        return false;
    m_directory = pattern;
    SetAside(g_signalDirectory, m_directory);
    const std::string file = m_directory + "/bridge";
    int descriptor = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor < 0)
        return false;
    m_file = file;
    SetAside(g_signalFile, m_file);
    bool written = WriteAll(descriptor, text);
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
