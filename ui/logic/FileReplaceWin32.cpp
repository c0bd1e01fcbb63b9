// The export's file operations on Windows: wide paths, file handles,
// FlushFileBuffers, and ReplaceFileW, which keeps the replaced file's access
// list, attributes and streams.
#include <windows.h>

#include <algorithm>

#include "FileReplace.h"
#include "FileReplaceNames.h"

namespace file_ops {

namespace {

HANDLE Native(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// INVALID_HANDLE_VALUE becomes -1, the closed WritableFile.
intptr_t Wrap(HANDLE handle) { return reinterpret_cast<intptr_t>(handle); }

bool SeekAndCut(HANDLE file, uint64_t size)
{
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(size);
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

bool WriteAllFromStart(HANDLE file, const std::string& bytes)
{
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
        return false;
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

WritableFile Create(const std::filesystem::path& path, DWORD disposition)
{
    return WritableFile(Wrap(CreateFileW(path.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, disposition,
                                         FILE_ATTRIBUTE_NORMAL, nullptr)));
}

} // namespace

void WritableFile::CloseUnchecked()
{
    if (IsOpen())
        CloseHandle(Native(m_handle));
    m_handle = Closed;
}

bool WritableFile::Overwrite(const std::string& bytes)
{
    const HANDLE file = Native(m_handle);
    LARGE_INTEGER current;
    if (!GetFileSizeEx(file, &current))
        return false;
    const uint64_t size = bytes.size();
    // Growing the file first takes the room the new contents need.
    if (size > static_cast<uint64_t>(current.QuadPart) && !SeekAndCut(file, size)) {
        SeekAndCut(file, static_cast<uint64_t>(current.QuadPart));
        return false;
    }
    return WriteAllFromStart(file, bytes) && SeekAndCut(file, size);
}

uint32_t WritableFile::LinkCount() const
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(Native(m_handle), &info))
        return 1;
    return info.nNumberOfLinks;
}

// ReplaceFileW carries the replaced file's access over in MoveOver.
void WritableFile::CopyAccessTo(const WritableFile&) const {}

bool WritableFile::SyncAndClose()
{
    const HANDLE file = Native(m_handle);
    m_handle = Closed;
    const bool flushed = FlushFileBuffers(file) != 0;
    const bool closed = CloseHandle(file) != 0;
    return flushed && closed;
}

WritableFile OpenExisting(const std::filesystem::path& path)
{
    // The read-only attribute says no write, also to an administrator (and
    // under Wine to root, whom the Unix permissions would let through).
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return {};
    return Create(path, OPEN_EXISTING);
}

WritableFile CreateNew(const std::filesystem::path& path) { return Create(path, CREATE_NEW); }

WritableFile CreateUnique(const std::filesystem::path& folder, std::filesystem::path& created)
{
    // A short name (8.3), so that a target whose path is close to the
    // length limit still has room for its temporary file beside it.
    for (int attempt = 0; attempt < UniqueNameAttempts; ++attempt) {
        const std::filesystem::path candidate = folder / ("~vm" + RandomHex(5) + ".tmp");
        WritableFile file = CreateNew(candidate);
        if (file.IsOpen()) {
            created = candidate;
            return file;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    return {};
}

bool MoveOver(const std::filesystem::path& from, const std::filesystem::path& to)
{
    // A file already there gives the new one its access list (DACL),
    // attributes (hidden, system, ...), creation time, short name and the
    // alternate streams the new one lacks; a plain move would leave the new
    // file with the access it inherited from the folder. With no backup
    // name, a failure leaves the file there under its name.
    if (GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES)
        return ReplaceFileW(to.c_str(), from.c_str(), nullptr, 0, nullptr, nullptr) != 0;
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void SyncFolder(const std::filesystem::path&)
{
    // The contents were flushed before the move; Windows cannot flush a
    // folder's entries on their own.
}

std::FILE* OpenForWriting(const std::filesystem::path& path) { return _wfopen(path.c_str(), L"wb"); }

} // namespace file_ops
