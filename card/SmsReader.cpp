// ReadSmsMessages: every record of EF_SMS.
#include "SmsReader.h"

#include "RecordLoop.h"

LONG ReadSmsMessages(CCardReader& reader, SmsFile& smsFile)
{
    auto& messages = smsFile.messages;
    // Room for every record at once, and each decoded where it stays: a
    // message is large, and moving the list as it grows touched it all again.
    messages.reserve(card_detail::LastReadableRecord(smsFile.recordCount));
    return card_detail::ReadRecords(reader, smsFile.recordCount, smsFile.recordLength,
                                    [&](const uint8_t* data, size_t length) {
                                        if (!IsSmsRecordUsed(data, length))
                                            return;
                                        if (!DecodeSms(messages.emplace_back(), data, length))
                                            messages.pop_back();
                                    });
}
