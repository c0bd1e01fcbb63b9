#include "CliReport.h"

#include <cstdio>
#include <utility>

#include "ExitCodes.h"
#include "HexText.h"
#include "Utf8.h"
#include "card/ResultText.h"
#include "res/resource.h"
#include "sim/AnsiText.h"
#include "ui/logic/ListModel.h"

namespace {

using nlohmann::ordered_json;

// The main dialog's fields with their labels, in the dialog's order.
const std::pair<int, const char*> Fields[] = {
    {IDC_ICCID, "ICC ID"},
    {IDC_PIN1_STATE, "PIN1 State"},
    {IDC_PIN2_STATE, "PIN2 State"},
    {IDC_IMSI, "IMSI"},
    {IDC_ADN_COUNT, "Phone Book (ADN)"},
    {IDC_FDN_COUNT, "Fixed Dialing (FDN)"},
    {IDC_SMS_COUNT, "SMS Messages"},
};

std::string Latin1(const std::string& text)
{
    return Utf16ToUtf8(AnsiToWide(text));
}

const char* OutcomeName(ConnectOutcome outcome)
{
    switch (outcome) {
    case ConnectOutcome::Connected:
        return "connected";
    case ConnectOutcome::Disconnected:
        return "disconnected";
    case ConnectOutcome::NoReader:
        return "no reader";
    case ConnectOutcome::EmptyReader:
        return "empty reader";
    case ConnectOutcome::ProtocolMismatch:
        return "protocol mismatch";
    case ConnectOutcome::ConnectError:
        return "connect error";
    case ConnectOutcome::IncompatibleCard:
        return "incompatible card";
    }
    return "unknown";
}

std::string TimestampText(const std::tm& t)
{
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                  t.tm_hour, t.tm_min, t.tm_sec);
    return text;
}

ordered_json DiallingFileJson(const DiallingNumberFile& file)
{
    ordered_json json;
    json["enabled"] = file.Enabled;
    json["recordCount"] = file.RecordCount;
    json["recordLength"] = file.RecordLength;
    json["alphaLength"] = file.AlphaLength;
    json["entries"] = ordered_json::array();
    for (const auto& [name, number] : file.Entries)
        json["entries"].push_back({{"name", Latin1(name)}, {"number", Latin1(number)}});
    return json;
}

ordered_json SmsMessageJson(const SmsMessage& message, uint32_t calendarTime)
{
    ordered_json json;
    json["status"] = Latin1(message.status);
    json["serviceCentre"] = Latin1(message.serviceCentre);
    json["sender"] = Utf16ToUtf8(message.sender);
    json["date"] = Utf16ToUtf8(message.date);
    json["timestamp"] = TimestampText(message.timestamp);
    json["calendarTime"] = calendarTime;
    json["text"] = Utf16ToUtf8(message.text);
    json["replyPathUdhi"] = message.replyPathUdhi;
    json["statusReportIndication"] = message.statusReportIndication;
    json["firstOctetBit4"] = message.firstOctetBit4;
    json["firstOctetBit3"] = message.firstOctetBit3;
    json["moreMessagesToSend"] = message.moreMessagesToSend;
    json["protocolId"] = message.protocolId;
    json["dataCoding"] = message.dataCoding;
    json["userDataLength"] = message.userDataLength;
    json["rawRecord"] = HexText(message.rawRecord);
    return json;
}

ordered_json SmsFileJson(const SmsFile& file)
{
    const std::vector<ListRow> rows = SmsRows(file); // the calendar times, in message order
    ordered_json json;
    json["recordCount"] = file.recordCount;
    json["recordLength"] = file.recordLength;
    json["messages"] = ordered_json::array();
    for (size_t i = 0; i < file.messages.size(); ++i)
        json["messages"].push_back(SmsMessageJson(file.messages[i], rows[i].itemData));
    return json;
}

} // namespace

std::string FieldsText(const TerminalView& view)
{
    std::string text;
    for (const auto& [id, label] : Fields)
        text += std::string(label) + " : " + Utf16ToUtf8(view.Field(id)) + "\n";
    return text;
}

std::string JsonReport(const RunSummary& run, const TerminalView& view, const MainDialogLogic& logic,
                       const JsonMembers& more)
{
    ordered_json json;
    json["reader"] = run.reader;
    json["outcome"] = OutcomeName(run.outcome);
    json["exitCode"] = run.exitCode;
    json["interruption"] = run.interruption != 0 ? ordered_json(PcscResultText(run.interruption)) : ordered_json();
    ordered_json& fields = json["fields"];
    for (const auto& [id, label] : Fields)
        fields[label] = Utf16ToUtf8(view.Field(id));
    json["messageBoxes"] = ordered_json::array();
    for (const MessageBoxText& message : view.Messages())
        json["messageBoxes"].push_back({{"caption", Utf16ToUtf8(message.caption)},
                                        {"text", Utf16ToUtf8(message.text)},
                                        {"type", message.type}});
    json["adn"] = DiallingFileJson(logic.Adn());
    json["fdn"] = DiallingFileJson(logic.Fdn());
    json["sms"] = SmsFileJson(logic.Sms());
    if (more)
        more(json);
    // Two-space indentation, UTF-8 kept as it is; bytes that are not UTF-8
    // (a reader name, say) become U+FFFD rather than an invalid document.
    return json.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

int ExitCodeFor(ConnectOutcome outcome, long interruption)
{
    if (interruption != 0 && (outcome == ConnectOutcome::Connected || outcome == ConnectOutcome::IncompatibleCard))
        return exit_code::Interrupted;
    switch (outcome) {
    case ConnectOutcome::Connected:
    case ConnectOutcome::Disconnected:
        return exit_code::CardRead;
    case ConnectOutcome::NoReader:
        return exit_code::NoReader;
    case ConnectOutcome::EmptyReader:
        return exit_code::NoCard;
    case ConnectOutcome::ProtocolMismatch:
        return exit_code::ProtocolMismatch;
    case ConnectOutcome::ConnectError:
        return exit_code::PcscError;
    case ConnectOutcome::IncompatibleCard:
        return exit_code::IncompatibleCard;
    }
    return exit_code::PcscError;
}
