// Creating a file that only its owner may read, for output that holds card
// data (the trace holds the ICCID, the IMSI and every record read).
#pragma once
#include <cstdio>
#include <string>

// Creates `path` (UTF-8), or empties the file already there, for writing.
// On POSIX the file is created with mode 0600 (an existing regular file is
// narrowed to 0600 too), not inherited by child processes, and never through
// a symbolic link; on Windows never through a symbolic link or junction, with
// the folder's default access. On failure returns null and sets `reason`
// ("it is a symbolic link", or the system's message).
std::FILE* CreatePrivateFile(const std::string& path, std::string& reason);
