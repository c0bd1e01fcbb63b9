// TP-UD: the header skipped, the text decoded by the data coding scheme.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/sms/DataCoding.h"
#include "sim/sms/UserDataHeader.h"

struct SmsUserData {
    std::string text;                 // UTF-8; empty for compressed data
    std::vector<uint8_t> octets;      // the octets after the header (8-bit and compressed data)
    std::optional<ConcatenationPart> concatenation;
    bool truncated = false;           // the record holds less than TP-UDL announces
    bool headerBroken = false;        // a header length reaches past the user data
};

// `userDataLength` is TP-UDL (septets for GSM 7-bit, else octets); `data`
// holds the `available` octets the record has after it. A 7-bit text after a
// header starts at the next septet boundary (the fill bits are skipped).
SmsUserData DecodeUserData(const uint8_t* data, size_t available, uint8_t userDataLength, bool hasHeader,
                           const DataCoding& coding);
