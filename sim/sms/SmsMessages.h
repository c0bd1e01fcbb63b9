// EF_SMS as the full read decodes it: every record that holds a message,
// and the messages with their concatenated parts joined.
#pragma once
#include <cstdint>
#include <vector>

#include "sim/content/RawCardFile.h"
#include "sim/sms/SmsJoin.h"

struct SmsMessages {
    FileState state = FileState::NotRead;
    uint8_t recordLength = 0;
    uint16_t recordCount = 0;
    std::vector<SmsRecordEntry> records; // in record order
    std::vector<JoinedSms> messages;     // in the order of their first record
};

// Decodes the records `file` holds (used ones, and free ones still holding a
// message) and joins them; the texts and data are then the messages'.
SmsMessages DecodeSmsFile(const RawCardFile& file);

// The first part present of `joined`, which stands for the whole message.
inline const StoredSms& HeadOf(const SmsMessages& messages, const JoinedSms& joined)
{
    return messages.records[joined.parts.front()].sms;
}
