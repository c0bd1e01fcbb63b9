#include "FullSmsText.h"

#include "FullSmsView.h"
#include "sim/full/SmsReportStatus.h"

namespace {

std::string Join(const std::vector<int>& numbers, const char* separator)
{
    std::string text;
    for (int number : numbers)
        text += (text.empty() ? "" : separator) + std::to_string(number);
    return text;
}

std::string StateText(const SmsMessages& messages)
{
    switch (messages.state) {
    case FileState::NotRead: return "not read";
    case FileState::Absent: return "not on the card";
    case FileState::Refused: return "not readable (the card refused it)";
    case FileState::Unusable: return "not readable (its header describes another kind of file)";
    default: break;
    }
    std::string text = std::to_string(messages.messages.size()) + " messages in " +
                       std::to_string(messages.records.size()) + " of " + std::to_string(messages.recordCount) +
                       " records";
    if (messages.state == FileState::Incomplete)
        text += " (the card stopped answering part of the way)";
    return text;
}

const char* AddressWord(SmsType type)
{
    switch (type) {
    case SmsType::Deliver: return "from";
    case SmsType::StatusReport: return "for";
    default: return "to";
    }
}

// "  Record 3 (read, deliver) from +44... at 2002-...": who and when.
std::string HeadLine(const FullSmsView& view)
{
    const FullSms& sms = view.head;
    std::string line = std::string("  Record") + (view.records.size() > 1 ? "s " : " ") + Join(view.records, ", ") +
                       " (" + SmsStatusName(sms.statusByte) + (sms.deleted ? ", deleted" : "") + ", " +
                       SmsTypeName(sms.type) + ") " + AddressWord(sms.type) + " " + sms.address.text;
    if (const std::string time = TimestampText(sms); !time.empty())
        line += " at " + time;
    return line + "\n";
}

// "    [gsm7, class 1, part 2 of 3 missing, ...]": how it was sent and kept.
std::string DetailLine(const JoinedSms& joined, const FullSmsView& view)
{
    const FullSms& sms = view.head;
    std::string details = AlphabetName(sms.coding.alphabet);
    if (sms.coding.messageClass >= 0)
        details += ", class " + std::to_string(sms.coding.messageClass);
    if (sms.coding.compressed)
        details += ", compressed (not shown)";
    if (sms.coding.waiting != WaitingGroup::None)
        details += std::string(", ") + WaitingKindName(sms.coding.waitingKind) + " waiting " +
                   (sms.coding.waitingActive ? "set" : "cleared");
    if (joined.concatenated)
        details += ", " + std::to_string(view.records.size()) + " of " +
                   std::to_string(view.records.size() + joined.missing.size()) + " parts";
    if (!joined.missing.empty())
        details += ", missing part " + Join(joined.missing, ", ");
    if (sms.messageReference)
        details += ", reference " + std::to_string(*sms.messageReference);
    if (sms.type == SmsType::Submit && sms.validity.format != "none")
        details += ", valid " + sms.validity.format + " " + sms.validity.text;
    if (sms.reportStatus)
        details += std::string(", status ") + ReportStatusName(*sms.reportStatus);
    if (sms.dischargeTimeValid)
        details += ", discharged " + IsoText(sms.dischargeTime);
    if (!sms.serviceCentre.text.empty())
        details += ", centre " + sms.serviceCentre.text;
    if (!view.error.empty())
        details += ", decoding stopped at the " + view.error;
    return "    [" + details + "]\n";
}

// The text, four spaces before each of its lines; other control characters
// show as spaces.
std::string TextLines(const std::string& text)
{
    std::string lines = "    ";
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        if (c == '\n' || c == '\r')
            lines += "\n    ";
        else
            lines += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
    }
    return lines + "\n";
}

} // namespace

std::string SmsText(const SmsMessages& messages)
{
    std::string text = "Messages (EF_SMS) : " + StateText(messages) + "\n";
    for (const JoinedSms& joined : messages.messages) {
        const FullSmsView view = ViewOf(messages, joined);
        text += HeadLine(view) + DetailLine(joined, view);
        if (!joined.text.empty())
            text += TextLines(joined.text);
    }
    return text;
}
