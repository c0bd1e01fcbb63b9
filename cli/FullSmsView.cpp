#include "FullSmsView.h"

FullSmsView ViewOf(const SmsMessages& messages, const JoinedSms& joined)
{
    FullSmsView view{messages.records[joined.parts.front()].sms, 0, {}, {}};
    for (size_t part : joined.parts) {
        const SmsRecordEntry& entry = messages.records[part];
        view.records.push_back(entry.record);
        if (view.error.empty() && !entry.sms.error.empty())
            view.error = entry.sms.error;
    }
    view.record = view.records.front();
    return view;
}

std::string TimestampText(const FullSms& sms)
{
    const bool hasTimestamp = sms.type == SmsType::Deliver || sms.type == SmsType::StatusReport;
    return hasTimestamp && sms.timestampValid ? IsoText(sms.timestamp) : std::string();
}
