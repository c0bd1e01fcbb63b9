#include "SmsCsv.h"

#include "ContentWords.h"
#include "Csv.h"

namespace {

std::string Row(const SmsMessages& messages, const JoinedSms& joined)
{
    const StoredSms& sms = HeadOf(messages, joined);
    return CsvRow({std::to_string(joined.records.front()), SmsStatusName(sms.status), sms.deleted ? "yes" : "no",
                   SmsTypeName(sms.type), sms.serviceCentre.text, sms.address.text, TimestampText(sms),
                   AlphabetText(sms),
                   sms.coding.messageClass >= 0 ? std::to_string(sms.coding.messageClass) : "",
                   joined.concatenated ? Join(joined.records, " ") : "", Join(joined.missing, " "), joined.text});
}

} // namespace

std::string SmsCsv(const SmsMessages& messages)
{
    std::string csv = CsvRow({"record", "status", "deleted", "type", "serviceCentre", "address", "timestamp",
                              "alphabet", "messageClass", "parts", "missing", "text"});
    for (const JoinedSms& joined : messages.messages)
        csv += Row(messages, joined);
    return csv;
}
