// EF_ADN / EF_FDN: dialling-number records (GSM 11.11).
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// One entry: Name (Latin-1 text) and Number ("+" and the digits 0-9, A-F).
using PhoneBookEntry = std::pair<std::string, std::string>;

struct DiallingNumberFile {
    uint16_t RecordCount = 0;
    uint8_t RecordLength = 0;
    uint8_t AlphaLength = 0;
    bool Enabled = false;
    std::map<std::string, std::string> Entries; // by name; the first record of a name wins

    void Clear() { *this = DiallingNumberFile{}; }
};

// Record numbers are one byte: no file is read beyond this record.
constexpr uint16_t MaxRecordNumber = 255;

// Geometry of the file from its 15-byte header. Returns 0, or
// SCARD_E_UNEXPECTED (file unchanged) for a header of another length.
long ParseDiallingFileHeader(const std::vector<uint8_t>& header, DiallingNumberFile& file);

// Decodes one record's data (`length` bytes actually received, status word
// excluded). Returns false for an empty record (first byte 0xFF, or none).
bool DecodeDiallingRecord(const uint8_t* record, size_t length, uint8_t alphaLength, PhoneBookEntry& entry);
