// The "full" member of velmora-cli --full --json, one function per section.
#pragma once
#include <nlohmann/json.hpp>

#include "sim/content/CardContent.h"

// A file identifier as four upper-case hex digits: "6F3A".
std::string FileIdText(uint16_t fileId);

// {"file": "6F3A", "state": "read", "recordLength", "recordCount",
//  "records": [{"record", "name", "number", "nameCoding", "tonNpi",
//  "extension": {"records": [...], "state", "stoppedAt"?} (only when the
//  record names one)}]}
nlohmann::ordered_json PhoneBookJson(const PhoneBook& book);

// {"state", and when read: "name", "nameCoding", "displayCondition",
//  "networkNameAtHome", "providerNameWhenRoaming"}
nlohmann::ordered_json ServiceProviderJson(const CardContent& content);

// {"adn", "fdn", "msisdn", "sdn", "lnd", "spn", "sms"}
nlohmann::ordered_json FullJson(const CardContent& content);
