// The FCP template (tag 62) a UICC answers to SELECT: what the file is, how
// its records are laid out, its identifiers, life cycle, security attributes
// and, for an MF, DF or ADF, which PINs are enabled.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "PinStatusTemplate.h"

enum class FileStructure {
    Unknown,     // a descriptor byte of no known kind
    Directory,   // MF, DF or ADF
    Transparent,
    LinearFixed,
    Cyclic,
    BerTlv,      // read with RETRIEVE DATA, not READ BINARY or RECORD
};

struct FileDescriptor {
    uint8_t descriptorByte = 0;
    FileStructure structure = FileStructure::Unknown;
    bool shareable = false;
    uint16_t recordLength = 0; // linear fixed and cyclic files only
    uint8_t recordCount = 0;
};

enum class LifeCycle {
    Unknown,      // no 8A object, or a value of no known state
    Creation,
    Initialisation,
    Activated,
    Deactivated,  // selects, but answers no READ
    Terminated,
};

enum class SfiState {
    Absent,       // no 88 object: the SFI is the low five bits of the file id
    NotSupported, // an empty 88 object
    Present,
};

struct ShortFileId {
    SfiState state = SfiState::Absent;
    uint8_t value = 0; // 1..30 when present
};

// A security attribute object kept as it came: 8B (EF_ARR reference),
// 8C (compact) or AB (expanded).
struct SecurityAttribute {
    uint8_t tag = 0;
    std::vector<uint8_t> value;
};

enum class FcpProblem {
    NotFcp,            // the data does not start with tag 62
    Cut,               // a length runs past the data received
    BadDescriptor,     // 82 missing, too short for its structure
    BadFileId,         // 83 not two bytes
    BadSfi,            // 88 longer than one byte, or an SFI of 0 or above 30
    BadSize,           // 80 or 81 empty or longer than four bytes
    BadLifeCycle,      // 8A not one byte
    BadPinStatus,      // C6 malformed
};

struct FileControlParameters {
    std::optional<FileDescriptor> descriptor;
    std::optional<uint16_t> fileId;
    std::vector<uint8_t> dfName; // the AID of an ADF (84); empty when absent
    ShortFileId sfi;
    LifeCycle lifeCycle = LifeCycle::Unknown;
    std::optional<uint8_t> lifeCycleByte;
    std::vector<SecurityAttribute> security;
    std::optional<uint32_t> fileSize;      // 80: bytes of the body
    std::optional<uint32_t> totalFileSize; // 81: with structural overhead
    std::vector<uint8_t> proprietary;      // A5, as it came
    std::optional<PinStatusTemplate> pinStatus;
    std::vector<FcpProblem> problems;

    bool Has(FcpProblem problem) const;
};

// Decodes a SELECT answer's data (status word excluded).
FileControlParameters DecodeFileControlParameters(const uint8_t* data, size_t size);
