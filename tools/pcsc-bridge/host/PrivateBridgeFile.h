// The host's bridge file (see BridgeFile.h) in a directory of its own.
//
// The directory is made with mkdtemp (mode 0700) under $XDG_RUNTIME_DIR when
// it is set, else under $TMPDIR or /tmp; the file inside it is created with
// O_CREAT|O_EXCL|O_NOFOLLOW and mode 0600, so nothing another user planted
// is followed or reused. Both go when the object does, or through
// RemoveOnSignal() when the host is stopped. The host holds a lock on the
// directory while it runs; a host that starts removes the bridge files and
// directories of its user's hosts that died without doing so (killed or
// crashed), so that no file names a port nobody serves any more.
#pragma once
#include <string>

#include "tools/pcsc-bridge/BridgeFile.h"

class PrivateBridgeFile {
public:
    PrivateBridgeFile() = default;
    ~PrivateBridgeFile();
    PrivateBridgeFile(const PrivateBridgeFile&) = delete;
    PrivateBridgeFile& operator=(const PrivateBridgeFile&) = delete;

    // Writes the file; false (with errno set) on failure.
    bool Create(const bridge::BridgeEndpoint& endpoint);
    const std::string& Path() const { return m_file; }

    // Removes the file and directory with async-signal-safe calls only, for
    // a signal handler; the paths were set aside by Create.
    static void RemoveOnSignal();

private:
    void Remove();
    std::string m_directory;
    std::string m_file;
    int m_lock = -1; // the directory, locked while the host runs
};
