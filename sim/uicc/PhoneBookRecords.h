// Records of the USIM phone-book files other than EF_ADN: additional numbers
// (EF_ANR), e-mail addresses (EF_EMAIL), second names (EF_SNE), the index
// of type 2 files (EF_IAP), groups (EF_GRP), names of groups and of number
// labels (EF_GAS, EF_AAS: plain alpha identifiers) and the entry control
// (EF_PBC). A file of type 2 ends each record with the SFI and record number
// of the EF_ADN record it belongs to.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/text/AlphaIdentifier.h"

// Bytes of an EF_ANR record before a type 2 file's back-pointer.
constexpr size_t AnrRecordLength = 15;

// Where a type 2 record says it belongs.
struct AdnPointer {
    uint8_t sfi = 0xFF; // FF where the writer left it unset
    uint8_t record = 0;
};

struct AnrRecord {
    bool used = false;         // the number's length byte is neither 00 nor FF
    uint8_t aasRecord = 0;     // the label in EF_AAS; 0 for none (00 or FF on the card)
    std::string digits;        // this record's digits, without "+"
    uint8_t tonNpi = 0xFF;
    uint8_t ccpRecord = 0xFF;
    uint8_t extensionRecord = 0xFF; // first EF_EXT1 record, FF for none
    std::optional<AdnPointer> adn;  // type 2 files, when received
};

// `typeTwo`: the file is reached through EF_IAP and ends with a back-pointer.
AnrRecord DecodeAnrRecord(const uint8_t* record, size_t length, bool typeTwo);

// EF_EMAIL and EF_SNE: text coded as an alpha identifier (GSM default
// alphabet, where 00 is '@', up to the first FF; or a UCS2 form).
struct TextRecord {
    AlphaText text;
    std::optional<AdnPointer> adn;
};

TextRecord DecodeTextRecord(const uint8_t* record, size_t length, bool typeTwo);

// EF_IAP: one record number a type 2 file, in the order of the A9 template;
// 0 where the entry has no record in that file (00 or FF on the card).
std::vector<uint8_t> DecodeIapRecord(const uint8_t* record, size_t length);

// EF_GRP: the EF_GAS record numbers of the entry's groups (00 and FF: none).
std::vector<uint8_t> DecodeGroupRecord(const uint8_t* record, size_t length);

// EF_PBC: entry control byte, then the hidden byte (00: shown; otherwise the
// EF_DIR record of the application whose hidden key hides the entry).
struct EntryControl {
    uint8_t control = 0;
    uint8_t hiddenBy = 0;
    bool Hidden() const { return hiddenBy != 0; }
};

// Empty when the record is shorter than two bytes.
std::optional<EntryControl> DecodeEntryControl(const uint8_t* record, size_t length);
