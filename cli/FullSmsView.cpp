#include "FullSmsView.h"

#include "ContentWords.h"

FullSmsView ViewOf(const SmsMessages& messages, const JoinedSms& joined)
{
    FullSmsView view{messages.records[joined.parts.front()].sms, 0, {}, {}, {}};
    for (size_t part : joined.parts) {
        const SmsRecordEntry& entry = messages.records[part];
        view.records.push_back(entry.record);
        view.octets.insert(view.octets.end(), entry.sms.userData.octets.begin(), entry.sms.userData.octets.end());
        if (!view.stoppedAt)
            view.stoppedAt = entry.sms.stoppedAt;
    }
    view.record = view.records.front();
    return view;
}

std::string TimestampText(const StoredSms& sms)
{
    const bool hasTimestamp = sms.type == SmsType::Deliver || sms.type == SmsType::StatusReport;
    return hasTimestamp && sms.timestampValid ? IsoText(sms.timestamp) : std::string();
}

std::string AlphabetText(const StoredSms& sms)
{
    return sms.dataCodingScheme || sms.carriesUserData ? AlphabetName(sms.coding.alphabet) : "";
}

std::string Join(const std::vector<int>& numbers, const char* separator)
{
    std::string text;
    for (int number : numbers)
        text += (text.empty() ? "" : separator) + std::to_string(number);
    return text;
}
