// The file operations of the export that differ between Windows and POSIX:
// opening, creating, writing through to the disk and replacing files given
// as std::filesystem::path (wide on Windows).
#pragma once
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace file_ops {

// A file open for writing (a descriptor or a Windows handle); closed, without
// a check, when destroyed or replaced.
class WritableFile {
public:
    WritableFile() = default;
    explicit WritableFile(intptr_t handle) : m_handle(handle) {}
    WritableFile(WritableFile&& other) noexcept;
    WritableFile& operator=(WritableFile&& other) noexcept;
    WritableFile(const WritableFile&) = delete;
    WritableFile& operator=(const WritableFile&) = delete;
    ~WritableFile();

    bool IsOpen() const { return m_handle != Closed; }

    // Makes the file hold exactly `bytes`. Room for them is taken before the
    // first byte changes, so that a full disk fails the call with the old
    // contents intact. False when any step fails.
    bool Overwrite(const std::string& bytes);

    // How many names (hard links) the file has; 1 when it cannot be told.
    uint32_t LinkCount() const;

    // Gives `to` this file's owner (where permitted), mode and extended
    // attributes such as its access control list. Nothing on Windows, where
    // MoveOver carries the replaced file's access over.
    void CopyAccessTo(const WritableFile& to) const;

    // Flushes the file to the disk and closes it; false when either fails.
    bool SyncAndClose();

private:
    static constexpr intptr_t Closed = -1;
    void CloseUnchecked();

    intptr_t m_handle = Closed;
};

// Opens an existing file for writing without changing it; closed on failure
// (no write permission, read-only attribute).
WritableFile OpenExisting(const std::filesystem::path& path);

// Creates a new empty file under `path`, never an existing one.
WritableFile CreateNew(const std::filesystem::path& path);

// Creates a new empty file under a short unique name in `folder`, never an
// existing one, and stores its path in `created`. Closed on failure.
WritableFile CreateUnique(const std::filesystem::path& folder, std::filesystem::path& created);

// Moves `from` to `to`, replacing a file already there, in one step; on
// Windows the replaced file's access list, attributes and streams stay. False
// on failure, with both left as they were.
bool MoveOver(const std::filesystem::path& from, const std::filesystem::path& to);

// Flushes a folder's entries to the disk, so that a rename in it lasts; does
// nothing where folders cannot be flushed.
void SyncFolder(const std::filesystem::path& folder);

// Opens `path` for binary writing, replacing its contents; null on failure.
// For devices and pipes, which are written where they are.
std::FILE* OpenForWriting(const std::filesystem::path& path);

} // namespace file_ops
