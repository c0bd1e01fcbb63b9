// Joins the parts of concatenated messages into one message each.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/sms/StoredSms.h"

struct SmsRecordEntry {
    int record = 0; // the record number in EF_SMS, from 1
    StoredSms sms;
};

struct JoinedSms {
    std::vector<size_t> parts; // indices into the entries, in part order (one for a single message)
    std::vector<int> missing;  // part numbers no record holds
    std::string text;          // the parts' texts, in part order
    bool concatenated = false; // the parts carry a concatenation element
    std::vector<int> records;  // the parts' record numbers, in part order
    std::vector<uint8_t> octets;       // 8-bit and compressed data: the parts' octets, in part order
    std::optional<SmsField> stoppedAt; // where the first part cut short stopped decoding
};

// Messages in the order of their first record. Parts belong together when
// type, address, reference, reference size, part count and deleted flag
// agree; they are put in part order and a missing part is reported, not
// filled in. A part number met twice starts a message of its own. The first
// part present stands for the whole message (its head). Each part's text and
// data move into its message: the entries keep none of them.
std::vector<JoinedSms> JoinConcatenatedSms(std::vector<SmsRecordEntry>& entries);
