// ReadSmsMessages: every record of EF_SMS.
#include "SmsReader.h"

#include "RecordLoop.h"

LONG ReadSmsMessages(CCardReader& reader, SmsFile& smsFile)
{
    auto& messages = smsFile.messages;
    return card_detail::ReadRecords(reader, smsFile.recordCount, smsFile.recordLength,
                                    [&](const uint8_t* data, size_t length) {
                                        if (!IsSmsRecordUsed(data, length))
                                            return;
                                        SmsMessage message;
                                        if (DecodeSms(message, data, length))
                                            messages.push_back(std::move(message));
                                    });
}
