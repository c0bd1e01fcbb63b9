// The UICC members of velmora-cli --full --json: "cardKind", "applications"
// and "usim".
#pragma once
#include <nlohmann/json.hpp>

#include "sim/content/UiccContent.h"

// {"state", "records": [{"record", "aid" (hex), "label", "usim"}]}
nlohmann::ordered_json ApplicationsJson(const UiccContent& uicc);

// {"scope": "global"|"local", "state", "fromPbr", "setCount", "entries":
//  [{"entry", "set", "record", "name", "number", "additionalNumbers":
//  [{"number", "label"}], "emails", "secondName", "groups", "hidden",
//  "problems" (only when there are): [{"kind", "file", "fileId", "record",
//  "extension" (for a chain)}]}], "problems": [{"set", "kind", "file",
//  "fileId"}]}
nlohmann::ordered_json UsimPhoneBookJson(const char* scope, const UsimPhoneBookContent& book);

// {"selected", "aid", "label", "iccidState", "iccid", "imsiState", "imsi",
//  "pin1", "pin2" ({"keyReference", "enabled", "triesLeft",
//  "unblockTriesLeft", "verified"}; null where the card did not say),
//  "fdnEnabled", "localPhoneBookService" (null when not read), "msisdn",
//  "fdn", "sdn" (as PhoneBookJson), "spn" (as ServiceProviderJson), "sms"
//  (as SmsJson), "phoneBooks" (global, then local when there is one)}
nlohmann::ordered_json UsimJson(const UiccContent& uicc);
