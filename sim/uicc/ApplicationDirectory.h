// EF_DIR (2F00 under the MF): one application template (tag 61) a record,
// holding the application's AID (tag 4F) and label (tag 50).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class DirRecordState {
    Unused,      // FF (or 00) where the template would start
    Application,
    Malformed,   // no template, a length beyond the record, or no AID of 1..16 bytes
};

struct ApplicationRecord {
    DirRecordState state = DirRecordState::Unused;
    std::vector<uint8_t> aid;
    std::string label; // coded as an alpha identifier, here UTF-8; empty when none
};

ApplicationRecord DecodeApplicationRecord(const uint8_t* record, size_t length);

// Whether `aid` names a 3GPP USIM: it starts A0 00 00 00 87 10 02; what
// follows is card-specific, so an application is selected by its full AID.
bool IsUsimAid(const std::vector<uint8_t>& aid);
