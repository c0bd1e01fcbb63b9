// A dialling-number file as read: its state and its used records, each
// with the extension chain its number continues in.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sim/content/RawCardFile.h"
#include "sim/dialling/ExtensionChain.h"
#include "sim/text/AlphaIdentifier.h"

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
