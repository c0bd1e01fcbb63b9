#include "CliReport.h"

#include <cstdio>
#include <utility>

#include "ExitCodes.h"
#include "JsonWriter.h"
#include "Utf8.h"
#include "card/ResultText.h"
#include "res/resource.h"
#include "sim/AnsiText.h"
#include "ui/logic/ListModel.h"

namespace {

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

std::string Hex(const std::vector<uint8_t>& bytes)
{
    std::string text;
    char pair[3];
    for (uint8_t b : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", b);
        text += pair;
    }
    return text;
}

std::string TimestampText(const std::tm& t)
{
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                  t.tm_hour, t.tm_min, t.tm_sec);
    return text;
}

void WriteDiallingFile(JsonWriter& json, const DiallingNumberFile& file)
{
    json.BeginObject();
    json.Key("enabled");
    json.Bool(file.Enabled);
    json.Key("recordCount");
    json.Number(file.RecordCount);
    json.Key("recordLength");
    json.Number(file.RecordLength);
    json.Key("alphaLength");
    json.Number(file.AlphaLength);
    json.Key("entries");
    json.BeginArray();
    for (const auto& [name, number] : file.Entries) {
        json.BeginObject();
        json.Key("name");
        json.String(Latin1(name));
        json.Key("number");
        json.String(Latin1(number));
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

void WriteSmsMessage(JsonWriter& json, const SmsMessage& message, uint32_t calendarTime)
{
    json.BeginObject();
    json.Key("status");
    json.String(Latin1(message.status));
    json.Key("serviceCentre");
    json.String(Latin1(message.serviceCentre));
    json.Key("sender");
    json.String(Utf16ToUtf8(message.sender));
    json.Key("date");
    json.String(Utf16ToUtf8(message.date));
    json.Key("timestamp");
    json.String(TimestampText(message.timestamp));
    json.Key("calendarTime");
    json.Number(calendarTime);
    json.Key("text");
    json.String(Utf16ToUtf8(message.text));
    const std::pair<const char*, uint8_t> octets[] = {
        {"replyPathUdhi", message.replyPathUdhi},
        {"statusReportIndication", message.statusReportIndication},
        {"firstOctetBit4", message.firstOctetBit4},
        {"firstOctetBit3", message.firstOctetBit3},
        {"moreMessagesToSend", message.moreMessagesToSend},
        {"protocolId", message.protocolId},
        {"dataCoding", message.dataCoding},
        {"userDataLength", message.userDataLength},
    };
    for (const auto& [name, value] : octets) {
        json.Key(name);
        json.Number(value);
    }
    json.Key("rawRecord");
    json.String(Hex(message.rawRecord));
    json.EndObject();
}

void WriteSmsFile(JsonWriter& json, const SmsFile& file)
{
    const std::vector<ListRow> rows = SmsRows(file); // the calendar times, in message order
    json.BeginObject();
    json.Key("recordCount");
    json.Number(file.recordCount);
    json.Key("recordLength");
    json.Number(file.recordLength);
    json.Key("messages");
    json.BeginArray();
    for (size_t i = 0; i < file.messages.size(); ++i)
        WriteSmsMessage(json, file.messages[i], rows[i].itemData);
    json.EndArray();
    json.EndObject();
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
    JsonWriter json;
    json.BeginObject();
    json.Key("reader");
    json.String(run.reader);
    json.Key("outcome");
    json.String(OutcomeName(run.outcome));
    json.Key("exitCode");
    json.Number(run.exitCode);
    json.Key("interruption");
    if (run.interruption != 0)
        json.String(PcscResultText(run.interruption));
    else
        json.Null();
    json.Key("fields");
    json.BeginObject();
    for (const auto& [id, label] : Fields) {
        json.Key(label);
        json.String(Utf16ToUtf8(view.Field(id)));
    }
    json.EndObject();
    json.Key("messageBoxes");
    json.BeginArray();
    for (const MessageBoxText& message : view.Messages()) {
        json.BeginObject();
        json.Key("caption");
        json.String(Utf16ToUtf8(message.caption));
        json.Key("text");
        json.String(Utf16ToUtf8(message.text));
        json.Key("type");
        json.Number(message.type);
        json.EndObject();
    }
    json.EndArray();
    json.Key("adn");
    WriteDiallingFile(json, logic.Adn());
    json.Key("fdn");
    WriteDiallingFile(json, logic.Fdn());
    json.Key("sms");
    WriteSmsFile(json, logic.Sms());
    if (more)
        more(json);
    json.EndObject();
    return json.Text();
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
