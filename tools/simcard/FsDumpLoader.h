// A card dumped as JSON by a file-system dump tool (the layout of
// pySim-shell's fsdump command), loaded as a profile. Used by ProfileLoader;
// throws ProfileError on malformed hex.
#pragma once
#include <nlohmann/json.hpp>

#include "CardProfile.h"

namespace simcard {

// A dump: {"files": {name: entry} or [entry...]}, each entry with "path"
// (a list of names from "MF", or one string split at '/'), "fcp_raw" (hex)
// and "body" (hex for a transparent file, a list of hex records, or null
// when it could not be read). The card answers every FCP as dumped, has no
// GSM view (6E 00 to class A0) and its PINs disabled.
CardProfile ReadFsDump(const nlohmann::json& root);

// A dump rather than a profile: a "files" member and no "uicc".
bool IsFsDump(const nlohmann::json& root);

} // namespace simcard
