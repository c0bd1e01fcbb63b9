// Builds the entries of one USIM phone book (one phone-book DF) from its
// decoded EF_PBR and the records of its files. Pure: the card layer reads,
// this links. Every pointer (EF_IAP, EXT1, AAS, GAS, a type 2 record's
// back-pointer) is checked against the records given; one that leads
// nowhere is reported in its entry and not followed.
#pragma once
#include <cstdint>
#include <map>
#include <vector>

#include "UsimPhoneBookEntry.h"
#include "PhoneBookReference.h"

// The records of each file of the DF by file id, as received: record n at
// [n - 1]. A file shared by several sets appears once. A record that was not
// received is an empty vector, so that the records after it keep their
// numbers and each set's count stays whole.
using PhoneBookFileRecords = std::map<uint16_t, std::vector<std::vector<uint8_t>>>;

// `sets`: the decoded EF_PBR records in record order (set n is sets[n - 1]).
UsimPhoneBook AssemblePhoneBook(const std::vector<PhoneBookSet>& sets, const PhoneBookFileRecords& files);
