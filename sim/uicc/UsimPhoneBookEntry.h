// A contact of a USIM phone book as its files link it together: the EF_ADN
// record and what the other files of its set hold for it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "PhoneBookReference.h"
#include "sim/dialling/ExtensionChain.h"

struct AdditionalNumber {
    std::string number; // "+" for an international number, then the digits
    std::string label;  // from EF_AAS; empty for none
};

enum class EntryProblemKind {
    MissingRecord,  // a pointer names a record the file does not have or that was not received
    UnusedRecord,   // a pointer names a record that holds nothing
    ExtensionChain, // a number's extension chain did not end well (see `extension`)
    BackPointer,    // a type 2 record says it belongs to another EF_ADN record
};

struct EntryProblem {
    EntryProblemKind kind = EntryProblemKind::MissingRecord;
    PhoneBookFileKind file = PhoneBookFileKind::Adn; // the file the pointer leads into
    uint16_t fileId = 0;                             // 0 when the set names no such file
    unsigned record = 0;                             // the record named, or where a chain stopped
    ExtensionState extension = ExtensionState::None;
};

struct UsimPhoneBookEntry {
    unsigned entry = 0;  // numbered across sets: set 2 starts after set 1's records
    unsigned set = 0;    // the EF_PBR record, from 1
    unsigned record = 0; // the EF_ADN record in its set, from 1
    std::string name;    // UTF-8
    std::string number;
    std::vector<AdditionalNumber> additionalNumbers;
    std::vector<std::string> emails;
    std::string secondName;
    std::vector<std::string> groups;
    bool hidden = false;
    std::vector<EntryProblem> problems;
};

enum class SetProblemKind {
    NoAdn,       // the set names no type 1 EF_ADN: it yields no entry
    FileNotRead, // a file the set names is not among the records given
    NoIap,       // type 2 files, but no type 1 EF_IAP to reach them
};

struct SetProblem {
    unsigned set = 0;
    SetProblemKind kind = SetProblemKind::NoAdn;
    PhoneBookFileKind file = PhoneBookFileKind::Adn;
    uint16_t fileId = 0;
};

struct UsimPhoneBook {
    std::vector<UsimPhoneBookEntry> entries; // used EF_ADN records, by set and record
    std::vector<SetProblem> problems;
};
