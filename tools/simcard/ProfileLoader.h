// Reads a card profile from JSON (profiles/*.json).
//
//   iccid, imsi, spn   {"data": hex, "size": n?, "read": cond?, "update": cond?}
//   adn, fdn, sms, msisdn, lnd, sdn, ext1, ext2, ext3
//                      {"recordLength": n, "recordCount": n, "records": [hex...],
//                       "exactRecords": bool?, "read": cond?, "update": cond?}
//   pin1               {"value": "1234", "enabled": bool, "attempts": n, "maxAttempts": n?}
//   pin2               {"present": bool, "value": "...", "attempts": n, "maxAttempts": n?,
//                       "listedWhenAbsent": bool?}: without a CHV2, directory
//                       answers end after CHV1 (20 bytes of GSM data), or with
//                       listedWhenAbsent hold CHV2 bytes marked not initialised (22)
//   dfGsm, dfTelecom   bool (default true)
//   atr                hex (default: a GSM SIM offering T=0)
//   gsmDataLength      n (overrides byte 12 of directory responses)
//   uicc               the card is a UICC: its file tree (UiccProfileLoader.h)
// A file-system dump ({"files": ...}, see UiccProfileLoader.h) loads as a
// UICC without a GSM view.
// A condition is "ALW", "CHV1", "CHV2", "ADM", "NEV" or a number 0..15.
// A file the profile leaves out is absent from the card. Other keys (for
// example the expectations of the integration tests) are ignored.
#pragma once
#include <stdexcept>
#include <string>

#include "CardProfile.h"

namespace simcard {

struct ProfileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

CardProfile ParseProfile(const std::string& jsonText);
CardProfile LoadProfile(const std::string& path);

// "3F 00" or "3f00" to bytes; whitespace is ignored.
std::vector<uint8_t> HexToBytes(const std::string& hex);

} // namespace simcard
