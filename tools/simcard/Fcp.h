// The FCP template (tag 62) a UICC answers to SELECT and STATUS: built for
// the files of a profile, and read back from a dumped card's FCPs.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "UiccProfile.h"

namespace simcard {

// PIN states for the PS_DO of the C6 template.
struct PinStates {
    bool pin1Enabled = true;
    bool pin2Enabled = true;
};

// The FCP of `file`: descriptor 82, file id 83, AID 84 (applications), life
// cycle 8A, security reference 8B, size 80 and SFI 88 (elementary files),
// and for the MF and applications the PIN status template C6.
std::vector<uint8_t> BuildFcp(const UiccFileProfile& file, bool isMf, const PinStates& pins);

// What a file's FCP says about it; each field only when present and sound.
struct FcpFacts {
    std::optional<UiccFileType> type;
    std::optional<uint16_t> fid;
    std::vector<uint8_t> aid;
    std::optional<uint16_t> recordLength;
    std::optional<uint16_t> recordCount;
    std::optional<uint16_t> size;
    bool sfiTagPresent = false;
    std::optional<uint8_t> sfi;   // with the tag: its value (none for 88 00)
    bool deactivated = false;
};

// Reads an FCP template; every length is checked against the bytes given.
// Nothing when it is not a well-formed template.
std::optional<FcpFacts> ParseFcp(const std::vector<uint8_t>& fcp);

} // namespace simcard
