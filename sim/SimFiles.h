// File identifiers of the GSM SIM files this program reads (3GPP TS 51.011),
// for the card layer, the front ends and the simulator alike.
#pragma once
#include <cstdint>

namespace simfile {

constexpr uint16_t Mf = 0x3F00;
constexpr uint16_t EfIccid = 0x2FE2;
constexpr uint16_t DfGsm = 0x7F20;
constexpr uint16_t EfImsi = 0x6F07;
constexpr uint16_t DfTelecom = 0x7F10;
constexpr uint16_t EfFdn = 0x6F3B;
constexpr uint16_t EfAdn = 0x6F3A;
constexpr uint16_t EfSms = 0x6F3C;
constexpr uint16_t EfMsisdn = 0x6F40;
constexpr uint16_t EfLnd = 0x6F44;
constexpr uint16_t EfSdn = 0x6F49;
constexpr uint16_t EfExt1 = 0x6F4A;
constexpr uint16_t EfExt2 = 0x6F4B;
constexpr uint16_t EfExt3 = 0x6F4C;
constexpr uint16_t EfSpn = 0x6F46; // under DF_GSM

// The first byte of an identifier tells its kind: 3F the MF, 7F a directory
// under the MF, 5F one a level below; every other identifier is an
// elementary file.
constexpr bool IsDirectoryId(uint16_t fileId)
{
    const unsigned first = fileId >> 8;
    return first == 0x3F || first == 0x7F || first == 0x5F;
}

// Access levels of a file header's access-condition nibbles.
constexpr int32_t AccessAlways = 0;
constexpr int32_t AccessPin1 = 1;
constexpr int32_t AccessPin2 = 2;
constexpr int32_t AccessOther = 3;

// Length of an elementary file's header as GET RESPONSE returns it.
constexpr unsigned HeaderLength = 15;

} // namespace simfile
