// The continuation of a dialling number in an extension file (EF_EXT1 for
// EF_ADN, EF_MSISDN and EF_LND; EF_EXT2 for EF_FDN; EF_EXT3 for EF_SDN).
// Each extension record: record type, data length, ten data bytes, the
// identifier of the next record.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The longest chain followed; a longer one is reported, not read on.
constexpr unsigned MaxExtensionChain = 10;

enum class ExtensionState {
    None,     // the record names no extension
    Complete, // followed to its end
    Missing,  // a record of the chain is not in the file (or the file was not read)
    Loop,     // the chain comes back to a record it passed
    TooLong,  // more than MaxExtensionChain records
    Invalid,  // a record of the chain is neither additional data nor a subaddress
};

struct ExtensionResult {
    std::string digits;  // the additional digits, in chain order
    ExtensionState state = ExtensionState::None;
    std::vector<unsigned> records; // the records followed, in order
    // Unless the chain ended well: the record at which following stopped
    // (the missing one, the one met again, or the first one beyond the bound).
    unsigned stoppedAt = 0;
};

// Follows the chain from record `first` (NoRecordId: none) through
// `records`, where record n is records[n - 1] as received.
ExtensionResult FollowExtensionChain(uint8_t first, const std::vector<std::vector<uint8_t>>& records);
