// The response data of SELECT (fetched with GET RESPONSE) and of STATUS,
// laid out as GSM 11.11 defines them for elementary files and directories.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "Chv.h"
#include "SimFile.h"

namespace simcard {

constexpr size_t EfResponseLength = 15;

// The 15 bytes describing an elementary file: size, id, access conditions,
// structure and record length.
std::vector<uint8_t> EfResponse(const SimFile& file);

// The response of the MF or a DF: id, type, file characteristics (bit 8 set
// when CHV1 is disabled), child counts and the CHV status bytes. The CHV2
// bytes are present only when the card has a CHV2. `gsmDataLength`, when
// given, replaces the length byte (byte 12) without changing what follows.
std::vector<uint8_t> DirectoryResponse(const SimFile& directory, const Chv& chv1, const Chv& chv2,
                                       std::optional<uint8_t> gsmDataLength);

} // namespace simcard
