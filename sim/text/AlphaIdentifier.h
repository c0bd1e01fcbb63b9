// Alpha identifiers (names in phone-book records, the service provider name):
// the GSM default alphabet or one of the three UCS2 forms of 3GPP TS 31.102
// Annex A, as UTF-8.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

enum class AlphaCoding {
    Gsm,        // GSM default alphabet, one code per byte, FF padding
    Ucs2,       // 0x80: UCS2 code units, big-endian, FFFF padding
    Ucs2Base8,  // 0x81: count, base pointer bits 15-8, then 1 byte a character
    Ucs2Base16, // 0x82: count, 16-bit base, then 1 byte a character
};

struct AlphaText {
    std::string text; // UTF-8
    AlphaCoding coding = AlphaCoding::Gsm;
};

// Decodes a field of `length` bytes (what was received of it).
AlphaText DecodeAlphaIdentifier(const uint8_t* field, size_t length);
