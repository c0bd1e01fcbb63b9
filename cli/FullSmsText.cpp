#include "FullSmsText.h"

#include "ContentWords.h"
#include "FullText.h"
#include "TerminalText.h"

namespace {

std::string SummaryText(const SmsMessages& messages)
{
    if (std::string state = StateText(messages.state); !state.empty())
        return state;
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
std::string HeadLine(const StoredSms& sms, const JoinedSms& joined)
{
    std::string line = std::string("  Record") + (joined.records.size() > 1 ? "s " : " ") + Join(joined.records, ", ") +
                       " (" + SmsStatusName(sms.status) + (sms.deleted ? ", deleted" : "") + ", " +
                       SmsTypeName(sms.type) + ") " + AddressWord(sms.type) + " " +
                       TerminalText(sms.address.text, false);
    if (const std::string time = TimestampText(sms); !time.empty())
        line += " at " + time;
    else if (sms.timestampInvalid)
        line += " (its time stamp is not a valid date)";
    return line + "\n";
}

// What the data that is not shown as text holds.
std::string DataNote(const StoredSms& sms, const JoinedSms& joined)
{
    const std::string octets = std::to_string(joined.octets.size()) + " octets";
    if (joined.octets.empty())
        return {};
    if (sms.coding.compressed)
        return ", compressed, " + octets + " (not shown; hex in --json)";
    if (sms.coding.alphabet == SmsAlphabet::EightBit && sms.carriesUserData)
        return ", " + octets + " of 8-bit data (hex in --json)";
    return {};
}

std::string CommandNote(const StoredSms& sms)
{
    std::string note;
    if (sms.commandType)
        note += ", command " + std::to_string(sms.commandType->value) + " (" + CommandTypeName(sms.commandType->kind) + ")";
    if (sms.messageNumber)
        note += ", message number " + std::to_string(*sms.messageNumber);
    return note;
}

// "    [gsm7, class 1, part 2 of 3 missing, ...]": how it was sent and kept.
std::string DetailLine(const StoredSms& sms, const JoinedSms& joined)
{
    std::string details = AlphabetText(sms);
    if (sms.coding.messageClass >= 0)
        details += ", class " + std::to_string(sms.coding.messageClass);
    details += DataNote(sms, joined);
    if (sms.coding.waiting != WaitingGroup::None)
        details += std::string(", ") + WaitingKindName(sms.coding.waitingKind) + " waiting " +
                   (sms.coding.waitingActive ? "set" : "cleared");
    if (joined.concatenated)
        details += ", " + std::to_string(joined.records.size()) + " of " +
                   std::to_string(joined.records.size() + joined.missing.size()) + " parts";
    if (!joined.missing.empty())
        details += ", missing part " + Join(joined.missing, ", ");
    if (sms.messageReference)
        details += ", reference " + std::to_string(*sms.messageReference);
    if (sms.type == SmsType::Submit && sms.validity.format != ValidityFormat::None)
        details += std::string(", valid ") + ValidityFormatName(sms.validity.format) + " " + ValidityText(sms.validity);
    details += CommandNote(sms);
    if (sms.reportStatus)
        details += ", status " + ReportStatusName(*sms.reportStatus);
    if (sms.dischargeTimeValid)
        details += ", discharged " + IsoText(sms.dischargeTime);
    else if (sms.dischargeTimeInvalid)
        details += ", discharge time not a valid date";
    if (!sms.serviceCentre.text.empty())
        details += ", centre " + TerminalText(sms.serviceCentre.text, false);
    if (joined.stoppedAt)
        details += std::string(", decoding stopped at the ") + SmsFieldName(*joined.stoppedAt);
    if (details.starts_with(", "))
        details.erase(0, 2);
    return "    [" + details + "]\n";
}

// The text, four spaces before each of its lines; other control characters
// are shown as TerminalText shows them.
std::string TextLines(const std::string& shown)
{
    const std::string text = TerminalText(shown, true);
    std::string lines = "    ";
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        if (c == '\n' || c == '\r')
            lines += "\n    ";
        else
            lines += c;
    }
    return lines + "\n";
}

} // namespace

std::string SmsText(const SmsMessages& messages)
{
    std::string text = "Messages (EF_SMS) : " + SummaryText(messages) + "\n";
    for (const JoinedSms& joined : messages.messages) {
        const StoredSms& sms = HeadOf(messages, joined);
        text += HeadLine(sms, joined) + DetailLine(sms, joined);
        if (!joined.text.empty())
            text += TextLines(joined.text);
    }
    return text;
}
