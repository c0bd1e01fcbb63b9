#include "sim/content/RawCardFile.h"

const char* FileStateName(FileState state)
{
    switch (state) {
    case FileState::NotRead:
        return "not-read";
    case FileState::Read:
        return "read";
    case FileState::Absent:
        return "absent";
    case FileState::Refused:
        return "refused";
    case FileState::Incomplete:
        return "incomplete";
    case FileState::Unusable:
        return "unusable";
    case FileState::Error:
        return "error";
    }
    return "not-read";
}
