// The fields of a joined message that every output of --full shows, taken
// from its records: the first part present stands for the whole.
#pragma once
#include <string>
#include <vector>

#include "sim/full/SmsMessages.h"

struct FullSmsView {
    const FullSms& head;        // the first part present, in part order
    int record;                 // the record of `head`
    std::vector<int> records;   // the parts' records, in part order
    std::string error;          // the first part's note on where decoding stopped
};

FullSmsView ViewOf(const SmsMessages& messages, const JoinedSms& joined);

// The time stamp as ISO 8601 with the card's offset; empty for an SMS-SUBMIT
// or a command, and when the card's time stamp is not a valid one.
std::string TimestampText(const FullSms& sms);
