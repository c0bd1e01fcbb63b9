// The UICC parts of a profile: the "uicc" section of a profile, and a card
// dumped as JSON by a file-system dump tool (pySim-shell's fsdump layout).
// Used by ProfileLoader; throws ProfileError.
#pragma once
#include <nlohmann/json.hpp>

#include "CardProfile.h"

namespace simcard {

//   "uicc": {"gsm": bool (default true: class A0 answers the GSM view),
//            "puk1Attempts": n, "puk2Attempts": n (default 10),
//            "files": [file...]}            parents before their children
//   file:   {"path": "3F00/7F10/5F3A/4F30"  ids in hex, or an application's name
//            "type": "DF"|"ADF"|"transparent"|"linear"|"cyclic"|"BER-TLV"?,
//            "fid": hex?, "aid": hex?, "sfi": 1..30?, "fcp": hex?,
//            "data": hex?  or  "recordLength": n, "recordCount": n, "records": [hex...],
//            "read": "ALW"|"PIN1"|"PIN2"|"ADM"|"NEV"?, "deactivated": bool?}
// The type, when left out, follows from the FCP, else from the other keys.
UiccProfile ReadUiccSection(const nlohmann::json& section);

// A dump: {"files": {name: entry} or [entry...]}, each entry with "path"
// (a list of names from "MF", or one string split at '/'), "fcp_raw" (hex)
// and "body" (hex for a transparent file, a list of hex records, or null
// when it could not be read). The card answers every FCP as dumped, has no
// GSM view (6E 00 to class A0) and its PINs disabled.
CardProfile ReadFsDump(const nlohmann::json& root);

// A dump rather than a profile: a "files" member and no "uicc".
bool IsFsDump(const nlohmann::json& root);

} // namespace simcard
