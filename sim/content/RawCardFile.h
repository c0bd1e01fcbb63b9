// An elementary file as the full read received it, before decoding.
#pragma once
#include <cstdint>
#include <vector>

enum class FileState {
    NotRead,    // not asked for (for example an extension file nothing refers to)
    Read,       // every record (or the whole transparent file) received
    Absent,     // the card has no such file
    Refused,    // the card refused to read it (an access condition, or an error answer)
    Incomplete, // the card stopped answering 90 00 part of the way
    Unusable,   // its header does not describe a file of this kind
    Error,      // the card answered its selection with an error (a memory or technical problem)
};

struct RawCardFile {
    uint16_t fileId = 0;
    FileState state = FileState::NotRead;
    uint16_t fileSize = 0;
    uint8_t recordLength = 0; // 0 for a transparent file
    uint16_t recordCount = 0; // records the header announces (at most 255 are read)
    // Record files: record n at records[n - 1], each as received. Transparent
    // files: one entry holding the bytes read.
    std::vector<std::vector<uint8_t>> records;
};
