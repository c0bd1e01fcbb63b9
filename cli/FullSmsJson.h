// The "sms" member of velmora-cli --full --json.
#pragma once
#include <nlohmann/json.hpp>

#include "sim/full/SmsMessages.h"

// {"file": "6F3C", "state", "recordLength", "recordCount", "messages": [...]}
// with per message: "record", "status", "type", "serviceCentre", "address",
// "timestamp" (not for a SUBMIT), "alphabet", "text", "deleted", and as they
// apply "parts" and "missing" (a joined message), "concatenation",
// "messageClass", "compressed", "messageWaiting", "reference", "validity",
// "dischargeTime", "reportStatus", "protocolId", "dataCodingScheme", "error".
nlohmann::ordered_json SmsJson(const SmsMessages& messages);
