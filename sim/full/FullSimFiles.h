// File identifiers of the files only the full read looks at (GSM 11.11,
// 3GPP TS 51.011).
#pragma once
#include <cstdint>

namespace fullfile {

// Under DF_TELECOM (7F10).
constexpr uint16_t EfMsisdn = 0x6F40;
constexpr uint16_t EfLnd = 0x6F44;
constexpr uint16_t EfSdn = 0x6F49;
constexpr uint16_t EfExt1 = 0x6F4A;
constexpr uint16_t EfExt2 = 0x6F4B;
constexpr uint16_t EfExt3 = 0x6F4C;

// Under DF_GSM (7F20).
constexpr uint16_t EfSpn = 0x6F46;

} // namespace fullfile
