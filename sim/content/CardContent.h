// Everything velmora-cli --full reads beyond the dialog, decoded. Filled by
// ReadCardContent (card/CardContentReader.h); printed, exported and written as JSON
// by the terminal front end, one section at a time.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/text/AlphaIdentifier.h"
#include "sim/dialling/ExtensionChain.h"
#include "sim/content/RawCardFile.h"
#include "sim/provider/ServiceProviderName.h"
#include "sim/sms/SmsMessages.h"

// One used record of a phone book, in the card's terms.
struct PhoneBookRecord {
    unsigned record = 0;     // record number, from 1
    std::string name;        // UTF-8
    AlphaCoding nameCoding = AlphaCoding::Gsm;
    std::string number;      // "+" for an international number, digits 0-9 * # , ? and E
    uint8_t tonNpi = 0xFF;
    uint8_t capabilityId = 0xFF;
    ExtensionResult extension; // the continuation of the number, when the record names one
};

// A dialling-number file: its state and its used records in record order.
struct PhoneBook {
    uint16_t fileId = 0;
    FileState state = FileState::NotRead;
    uint8_t recordLength = 0;
    uint16_t recordCount = 0;
    std::vector<PhoneBookRecord> records;
    // The extension file the numbers continue in, as far as it was read
    // (NotRead when no record of any phone book needed it).
    FileState extensionState = FileState::NotRead;
};

struct CardContent {
    // --- phone books (DF_TELECOM, DF_GSM) ---
    PhoneBook adn;    // 6F3A, extension EF_EXT1
    PhoneBook fdn;    // 6F3B, extension EF_EXT2
    PhoneBook msisdn; // 6F40, own numbers, extension EF_EXT1
    PhoneBook sdn;    // 6F49, service dialling numbers, extension EF_EXT3
    PhoneBook lnd;    // 6F44, last numbers dialled (cyclic, newest first), extension EF_EXT1
    FileState spnState = FileState::NotRead;
    std::optional<ServiceProviderName> spn; // 6F46 under DF_GSM

    // --- messages (EF_SMS) ---
    SmsMessages sms; // 6F3C under DF_TELECOM
};
