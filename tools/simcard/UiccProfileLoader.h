// The "uicc" section of a profile: a UICC's file tree. Used by
// ProfileLoader; throws ProfileError.
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

} // namespace simcard
