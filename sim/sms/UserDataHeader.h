// The user-data header (TP-UDHI set): its information elements, of which the
// concatenation ones are kept.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

// One part of a concatenated message (element 0x00, 8-bit reference, or 0x08,
// 16-bit reference).
struct ConcatenationPart {
    uint16_t reference = 0;
    bool sixteenBitReference = false;
    uint8_t total = 0;    // parts of the whole message
    uint8_t sequence = 0; // this part's number, 1 to total
};

struct UserDataHeader {
    size_t length = 0; // octets of the header, its length octet included
    std::optional<ConcatenationPart> concatenation;
};

// Parses the header at the start of `length` octets of user data. Fails when
// the header or one of its elements reaches past the header's length or the
// octets. A concatenation element with a zero count or a part number out of
// range is ignored, as receivers do; of repeated ones the last counts.
bool ParseUserDataHeader(const uint8_t* data, size_t length, UserDataHeader& header);
