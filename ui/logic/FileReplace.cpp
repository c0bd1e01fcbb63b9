// The platform file of the export: wide paths and replacing renames on
// Windows, plain stdio elsewhere.
#include "FileReplace.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#endif

namespace file_ops {

std::FILE* OpenForWriting(const std::filesystem::path& path)
{
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wb");
#else
    return std::fopen(path.c_str(), "wb");
#endif
}

bool MoveOver(const std::filesystem::path& from, const std::filesystem::path& to)
{
#ifdef _WIN32
    // rename() refuses an existing target on Windows.
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

} // namespace file_ops
