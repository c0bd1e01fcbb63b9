// The "full" member of velmora-cli --full --json, one function per section.
#pragma once
#include <nlohmann/json.hpp>

#include "sim/content/CardContent.h"

// {"file": "6F3A", "state": "read", "recordLength", "recordCount",
//  "records": [{"record", "name", "number", "nameCoding", "tonNpi",
//  "extension": {"records": [...], "state", "stoppedAt"?} (only when the
//  record names one)}]}
nlohmann::ordered_json PhoneBookJson(const PhoneBook& book);

// {"state", and when read: "name", "nameCoding", "displayCondition",
//  "networkNameAtHome", "providerNameWhenRoaming"}
nlohmann::ordered_json ServiceProviderJson(const CardContent& content);
nlohmann::ordered_json ServiceProviderJson(FileState state, const std::optional<ServiceProviderName>& spn);

// {"adn", "fdn", "msisdn", "sdn", "lnd", "spn", "sms"}: the files of a GSM
// SIM, or of a UICC's GSM view ("not-read" where the read did not take them).
// A UICC adds "cardKind" first, then "applications" and "usim" (UiccJson.h);
// a GSM SIM's document has neither, as before.
nlohmann::ordered_json FullJson(const CardContent& content);
