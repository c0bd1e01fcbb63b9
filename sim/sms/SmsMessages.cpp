#include "sim/sms/SmsMessages.h"

SmsMessages DecodeSmsFile(const RawCardFile& file)
{
    SmsMessages messages;
    messages.state = file.state;
    messages.recordLength = file.recordLength;
    messages.recordCount = file.recordCount;
    messages.records.reserve(file.records.size());
    for (size_t i = 0; i < file.records.size(); ++i) {
        // Decoded in place: a message is large, and most records hold one.
        SmsRecordEntry& entry = messages.records.emplace_back();
        entry.record = static_cast<int>(i + 1);
        const std::vector<uint8_t>& record = file.records[i];
        if (!DecodeStoredSms(record.data(), record.size(), entry.sms))
            messages.records.pop_back();
    }
    messages.messages = JoinConcatenatedSms(messages.records);
    return messages;
}
