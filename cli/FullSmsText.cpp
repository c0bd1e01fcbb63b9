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

// "  Record 3 (read, deliver) from +44... at 2002-...": who and when. Each
// line is appended to the one text of the view: a message's lines then cost
// no string of their own.
void AppendHeadLine(std::string& out, const StoredSms& sms, const JoinedSms& joined)
{
    out += joined.records.size() > 1 ? "  Records " : "  Record ";
    out += Join(joined.records, ", ");
    out += " (";
    out += SmsStatusName(sms.status);
    out += sms.deleted ? ", deleted, " : ", ";
    out += SmsTypeName(sms.type);
    out += ") ";
    out += AddressWord(sms.type);
    out += ' ';
    out += TerminalText(sms.address.text, false);
    if (const std::string time = TimestampText(sms); !time.empty())
        out += " at " + time;
    else if (sms.timestampInvalid)
        out += " (its time stamp is not a valid date)";
    out += '\n';
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
void AppendDetailLine(std::string& out, const StoredSms& sms, const JoinedSms& joined)
{
    out += "    [";
    const size_t start = out.size();
    out += AlphabetText(sms);
    if (sms.coding.messageClass >= 0)
        out += ", class " + std::to_string(sms.coding.messageClass);
    out += DataNote(sms, joined);
    if (sms.coding.waiting != WaitingGroup::None)
        out += std::string(", ") + WaitingKindName(sms.coding.waitingKind) + " waiting " +
               (sms.coding.waitingActive ? "set" : "cleared");
    if (joined.concatenated)
        out += ", " + std::to_string(joined.records.size()) + " of " +
               std::to_string(joined.records.size() + joined.missing.size()) + " parts";
    if (!joined.missing.empty())
        out += ", missing part " + Join(joined.missing, ", ");
    if (sms.messageReference)
        out += ", reference " + std::to_string(*sms.messageReference);
    if (sms.type == SmsType::Submit && sms.validity.format != ValidityFormat::None)
        out += std::string(", valid ") + ValidityFormatName(sms.validity.format) + " " + ValidityText(sms.validity);
    out += CommandNote(sms);
    if (sms.reportStatus)
        out += ", status " + ReportStatusName(*sms.reportStatus);
    if (sms.dischargeTimeValid)
        out += ", discharged " + IsoText(sms.dischargeTime);
    else if (sms.dischargeTimeInvalid)
        out += ", discharge time not a valid date";
    if (!sms.serviceCentre.text.empty())
        out += ", centre " + TerminalText(sms.serviceCentre.text, false);
    if (joined.stoppedAt)
        out += std::string(", decoding stopped at the ") + SmsFieldName(*joined.stoppedAt);
    if (out.compare(start, 2, ", ") == 0)
        out.erase(start, 2);
    out += "]\n";
}

// The text, four spaces before each of its lines; other control characters
// are shown as TerminalText shows them.
void AppendTextLines(std::string& out, const std::string& shown)
{
    const std::string text = TerminalText(shown, true);
    out += "    ";
    for (size_t at = 0;;) {
        const size_t end = text.find_first_of("\r\n", at);
        out.append(text, at, end - at);
        if (end == std::string::npos)
            break;
        out += "\n    ";
        at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1); // CR LF is one line end
    }
    out += '\n';
}

} // namespace

void AppendSmsText(std::string& out, const SmsMessages& messages)
{
    out += "Messages (EF_SMS) : " + SummaryText(messages) + "\n";
    for (const JoinedSms& joined : messages.messages) {
        const StoredSms& sms = HeadOf(messages, joined);
        AppendHeadLine(out, sms, joined);
        AppendDetailLine(out, sms, joined);
        if (!joined.text.empty())
            AppendTextLines(out, joined.text);
    }
}

std::string SmsText(const SmsMessages& messages)
{
    std::string text;
    AppendSmsText(text, messages);
    return text;
}
