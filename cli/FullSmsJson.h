// The "sms" member of velmora-cli --full --json.
#pragma once
#include <nlohmann/json.hpp>

#include "sim/sms/SmsMessages.h"

// {"file": "6F3C", "state", "recordLength", "recordCount", "messages": [...]}
// with per message: "record", "status", "type", "serviceCentre", "address",
// "timestamp" (not for a SUBMIT or a COMMAND; "timestampInvalid" when it is
// no valid date), "deleted", and as the message carries them "alphabet",
// "text", "parts" and "missing" (a joined message), "concatenation",
// "messageClass", "compressed", "userData" (8-bit and compressed data as hex),
// "messageWaiting", "reference", "validity", "dischargeTime" (or
// "dischargeTimeInvalid"), "commandType", "messageNumber", "reportStatus",
// "protocolId", "dataCodingScheme", "error".
nlohmann::ordered_json SmsJson(const SmsMessages& messages);
