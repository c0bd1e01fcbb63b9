// The fields of a joined message that every output of --full shows, taken
// from its records: the first part present stands for the whole.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/sms/SmsMessages.h"

struct FullSmsView {
    const StoredSms& head;        // the first part present, in part order
    int record;                 // the record of `head`
    std::vector<int> records;   // the parts' records, in part order
    std::optional<SmsField> stoppedAt; // where the first part cut short stopped decoding
    std::vector<uint8_t> octets; // 8-bit and compressed data: the parts' octets, in part order
};

FullSmsView ViewOf(const SmsMessages& messages, const JoinedSms& joined);

// The time stamp as ISO 8601 with the card's offset; empty for an SMS-SUBMIT
// or a command, and when the card's time stamp is not a valid one.
std::string TimestampText(const StoredSms& sms);

// The alphabet's name; empty when the message carries neither a data coding
// scheme nor user data (a command, most status reports).
std::string AlphabetText(const StoredSms& sms);

// The numbers in decimal, `separator` between them.
std::string Join(const std::vector<int>& numbers, const char* separator);
