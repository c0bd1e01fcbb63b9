#include "ContentWords.h"

#include <cstdio>
#include <cstdlib>

namespace {

struct DigitField {
    int value;
    size_t at;
    size_t width;
};

// Writes the field's value as `width` zero-padded digits at text[at]; false
// when it is negative or wider.
bool PutDigits(std::string& text, const DigitField& field)
{
    int value = field.value;
    if (value < 0)
        return false;
    for (size_t i = field.width; i-- > 0; value /= 10)
        text[field.at + i] = static_cast<char>('0' + value % 10);
    return value == 0;
}

// IsoText for field values that do not fit its digits.
std::string PrintedIsoText(const SmsTime& time)
{
    const int offsetMinutes = std::abs(time.offsetQuarters) * 15;
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", time.year, time.month, time.day,
                  time.hour, time.minute, time.second, time.offsetQuarters < 0 ? '-' : '+', offsetMinutes / 60,
                  offsetMinutes % 60);
    return text;
}

std::string Count(unsigned value, const char* unit)
{
    return std::to_string(value) + " " + unit + (value == 1 ? "" : "s");
}

std::string MinutesText(unsigned minutes)
{
    if (minutes < 60)
        return Count(minutes, "minute");
    std::string text = Count(minutes / 60, "hour");
    return minutes % 60 ? text + " " + Count(minutes % 60, "minute") : text;
}

// Enhanced hh:mm:ss: each semi-octet as a hex digit, as received.
std::string TimeDigitsText(const std::array<uint8_t, 6>& digits)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && i % 2 == 0)
            text += ':';
        text += hex[digits[i] & 0x0F];
    }
    return text;
}

std::string EnhancedText(const ValidityPeriod& period)
{
    std::string text;
    if (period.enhanced == EnhancedForm::None)
        text = "none";
    else if (period.enhanced == EnhancedForm::Reserved)
        text = "reserved";
    else if (!period.valid)
        text = "invalid";
    else if (period.enhanced == EnhancedForm::Time)
        text = TimeDigitsText(period.timeDigits);
    else
        text = DurationText(period.duration);
    return period.singleShot ? text + ", single shot" : text;
}

const char* ReportCauseText(ReportCause cause)
{
    switch (cause) {
    case ReportCause::Received: return "received by the recipient";
    case ReportCause::ForwardedUnconfirmed: return "forwarded to the recipient, delivery not confirmed";
    case ReportCause::Replaced: return "replaced by the service centre";
    case ReportCause::Congestion: return "congestion";
    case ReportCause::RecipientBusy: return "recipient busy";
    case ReportCause::NoResponse: return "no response from the recipient";
    case ReportCause::ServiceRejected: return "service rejected";
    case ReportCause::QualityOfServiceUnavailable: return "quality of service not available";
    case ReportCause::RecipientError: return "error in the recipient";
    case ReportCause::RemoteProcedureError: return "remote procedure error";
    case ReportCause::IncompatibleDestination: return "incompatible destination";
    case ReportCause::ConnectionRejected: return "connection rejected by the recipient";
    case ReportCause::NotObtainable: return "not obtainable";
    case ReportCause::NoInterworking: return "no interworking available";
    case ReportCause::ValidityPeriodExpired: return "validity period expired";
    case ReportCause::DeletedBySender: return "deleted by the sender";
    case ReportCause::DeletedByAdministration: return "deleted by the service centre administration";
    case ReportCause::MessageDoesNotExist: return "message does not exist";
    case ReportCause::CentreSpecific: return "specific to the service centre";
    case ReportCause::Reserved: break;
    }
    return "reserved";
}

} // namespace

const char* FileStateName(FileState state)
{
    switch (state) {
    case FileState::NotRead: return "not-read";
    case FileState::Read: return "read";
    case FileState::Absent: return "absent";
    case FileState::Refused: return "refused";
    case FileState::Incomplete: return "incomplete";
    case FileState::Unusable: return "unusable";
    case FileState::Error: return "error";
    }
    return "not-read";
}

std::string StateText(FileState state)
{
    switch (state) {
    case FileState::NotRead: return "not read";
    case FileState::Absent: return "not on the card";
    case FileState::Refused: return "not readable (the card refused it)";
    case FileState::Unusable: return "not readable (its header describes another kind of file)";
    case FileState::Error: return "not readable (the card answered with an error)";
    case FileState::Read:
    case FileState::Incomplete: break;
    }
    return {};
}

const char* AlphaCodingName(AlphaCoding coding)
{
    switch (coding) {
    case AlphaCoding::Gsm: return "gsm7";
    case AlphaCoding::Ucs2: return "ucs2-80";
    case AlphaCoding::Ucs2Base8: return "ucs2-81";
    case AlphaCoding::Ucs2Base16: return "ucs2-82";
    }
    return "gsm7";
}

const char* ExtensionStateName(ExtensionState state)
{
    switch (state) {
    case ExtensionState::None: return "none";
    case ExtensionState::Complete: return "complete";
    case ExtensionState::Missing: return "missing";
    case ExtensionState::Loop: return "loop";
    case ExtensionState::TooLong: return "too-long";
    case ExtensionState::Invalid: return "invalid";
    }
    return "none";
}

const char* SmsStatusName(SmsStatus status)
{
    switch (status) {
    case SmsStatus::Read: return "read";
    case SmsStatus::Unread: return "unread";
    case SmsStatus::Sent: return "sent";
    case SmsStatus::Unsent: return "unsent";
    case SmsStatus::Free: break;
    }
    return "free";
}

const char* SmsTypeName(SmsType type)
{
    switch (type) {
    case SmsType::Deliver: return "deliver";
    case SmsType::Submit: return "submit";
    case SmsType::StatusReport: return "status-report";
    case SmsType::Command: return "command";
    case SmsType::Reserved: break;
    }
    return "reserved";
}

const char* AlphabetName(SmsAlphabet alphabet)
{
    switch (alphabet) {
    case SmsAlphabet::EightBit: return "8bit";
    case SmsAlphabet::Ucs2: return "ucs2";
    case SmsAlphabet::Gsm7: break;
    }
    return "gsm7";
}

const char* WaitingKindName(WaitingKind kind)
{
    switch (kind) {
    case WaitingKind::VoiceMail: return "voicemail";
    case WaitingKind::Fax: return "fax";
    case WaitingKind::Email: return "email";
    case WaitingKind::Other: break;
    }
    return "other";
}

const char* CommandTypeName(SmsCommandKind kind)
{
    switch (kind) {
    case SmsCommandKind::Enquiry: return "enquiry about a submitted message";
    case SmsCommandKind::CancelReportRequest: return "cancel its status report request";
    case SmsCommandKind::Delete: return "delete a submitted message";
    case SmsCommandKind::EnableReportRequest: return "enable its status report request";
    case SmsCommandKind::CentreSpecific: return "specific to the service centre";
    case SmsCommandKind::Reserved: break;
    }
    return "reserved";
}

std::string ReportStatusName(const SmsReportStatus& status)
{
    const char* range = nullptr;
    switch (status.category) {
    case ReportCategory::Completed: range = "completed: "; break;
    case ReportCategory::Trying: range = "trying: "; break;
    case ReportCategory::Failed: range = "failed: "; break;
    case ReportCategory::Stopped: range = "stopped: "; break;
    case ReportCategory::Reserved: return "reserved";
    }
    return range + std::string(ReportCauseText(status.cause));
}

std::string IsoText(const SmsTime& time)
{
    const int offsetMinutes = std::abs(time.offsetQuarters) * 15;
    // Digits put in place: this runs for every message, and a formatted print
    // of the same cost more than the rest of the message's lines.
    std::string text = "0000-00-00T00:00:00+00:00";
    const DigitField fields[] = {{time.year, 0, 4},           {time.month, 5, 2},         {time.day, 8, 2},
                                 {time.hour, 11, 2},          {time.minute, 14, 2},       {time.second, 17, 2},
                                 {offsetMinutes / 60, 20, 2}, {offsetMinutes % 60, 23, 2}};
    for (const DigitField& field : fields) {
        if (!PutDigits(text, field))
            return PrintedIsoText(time);
    }
    text[19] = time.offsetQuarters < 0 ? '-' : '+';
    return text;
}

std::string DurationText(const Duration& duration)
{
    switch (duration.unit) {
    case TimeUnit::Seconds: return Count(duration.count, "second");
    case TimeUnit::Minutes: return MinutesText(duration.count);
    case TimeUnit::Days: return Count(duration.count, "day");
    case TimeUnit::Weeks: break;
    }
    return Count(duration.count, "week");
}

const char* ValidityFormatName(ValidityFormat format)
{
    switch (format) {
    case ValidityFormat::Relative: return "relative";
    case ValidityFormat::Enhanced: return "enhanced";
    case ValidityFormat::Absolute: return "absolute";
    case ValidityFormat::None: break;
    }
    return "none";
}

std::string ValidityText(const ValidityPeriod& period)
{
    switch (period.format) {
    case ValidityFormat::Relative: return DurationText(period.duration);
    case ValidityFormat::Enhanced: return EnhancedText(period);
    case ValidityFormat::Absolute: return period.valid ? IsoText(period.time) : "invalid";
    case ValidityFormat::None: break;
    }
    return {};
}

const char* SmsFieldName(SmsField field)
{
    switch (field) {
    case SmsField::ServiceCentreAddress: return "service centre address";
    case SmsField::FirstOctet: return "first octet";
    case SmsField::MessageType: return "message type";
    case SmsField::MessageReference: return "message reference";
    case SmsField::OriginatingAddress: return "originating address";
    case SmsField::DestinationAddress: return "destination address";
    case SmsField::RecipientAddress: return "recipient address";
    case SmsField::ProtocolIdentifier: return "protocol identifier";
    case SmsField::DataCodingScheme: return "data coding scheme";
    case SmsField::TimeStamp: return "time stamp";
    case SmsField::DischargeTime: return "discharge time";
    case SmsField::ValidityPeriod: return "validity period";
    case SmsField::Status: return "status";
    case SmsField::ParameterIndicator: return "parameter indicator";
    case SmsField::CommandType: return "command type";
    case SmsField::MessageNumber: return "message number";
    case SmsField::UserDataLength: return "user data length";
    case SmsField::UserDataHeader: return "user data header";
    case SmsField::UserData: break;
    }
    return "user data";
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
