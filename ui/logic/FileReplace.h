// The few file operations the export needs that differ between Windows and
// POSIX: opening a path given as std::filesystem::path (wide on Windows) and
// moving a file over an existing one.
#pragma once
#include <cstdio>
#include <filesystem>

namespace file_ops {

// Opens `path` for binary writing, replacing its contents; null on failure.
std::FILE* OpenForWriting(const std::filesystem::path& path);

// Moves `from` to `to`, replacing a file already there. False on failure,
// with both left as they were.
bool MoveOver(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace file_ops
