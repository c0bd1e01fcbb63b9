// Windows: CreateFileW that opens a reparse point (a symbolic link or a
// junction) itself rather than its target, so that such a name is refused
// before anything is written.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <system_error>

#include "PrivateFile.h"
#include "Utf8.h"

namespace {

std::string SystemMessage(DWORD error) { return std::system_category().message(static_cast<int>(error)); }

bool IsReparsePoint(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION info;
    return GetFileInformationByHandle(file, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

} // namespace

std::FILE* CreatePrivateFile(const std::string& path, std::string& reason)
{
    // OPEN_ALWAYS rather than CREATE_ALWAYS: a link found here is left as it was.
    const HANDLE file = CreateFileW(PathFromUtf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        reason = SystemMessage(GetLastError());
        return nullptr;
    }
    if (IsReparsePoint(file)) {
        CloseHandle(file);
        reason = "it is a symbolic link (name the file itself)";
        return nullptr;
    }
    // Disks are emptied; a console or a pipe cannot be and need not be.
    if (GetFileType(file) == FILE_TYPE_DISK && !SetEndOfFile(file)) {
        reason = SystemMessage(GetLastError());
        CloseHandle(file);
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        reason = "no file descriptor left";
        CloseHandle(file);
        return nullptr;
    }
    std::FILE* stream = _fdopen(fd, "wb");
    if (stream == nullptr) {
        reason = "no file stream left";
        _close(fd); // closes the handle too
    }
    return stream;
}
