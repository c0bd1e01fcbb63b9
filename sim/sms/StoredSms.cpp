#include "sim/sms/StoredSms.h"

#include <algorithm>

namespace {

constexpr uint8_t UsedBit = 0x01;
constexpr uint8_t SentBit = 0x04; // status 101 and 111: mobile originated
constexpr uint8_t HeaderIndicator = 0x40;

// Reads fields in order, each checked against the octets left.
class TpduReader {
public:
    TpduReader(const uint8_t* data, size_t length, std::optional<SmsField>& error) : data_(data), length_(length), error_(error) {}

    bool Octet(uint8_t& value, SmsField field)
    {
        if (!Need(1, field))
            return false;
        value = data_[at_++];
        return true;
    }
    bool Octet(std::optional<uint8_t>& value, SmsField field)
    {
        uint8_t octet = 0;
        if (!Octet(octet, field))
            return false;
        value = octet;
        return true;
    }
    bool Address(SmsAddress& address, SmsField field)
    {
        const size_t used = DecodeTpAddress(data_ + at_, length_ - at_, address);
        at_ += used;
        return used || Fail(field);
    }
    bool Time(SmsTime& time, bool& valid, bool& invalid, SmsField field)
    {
        if (!Need(SmsTimeLength, field))
            return false;
        valid = DecodeSmsTime(data_ + at_, time);
        invalid = !valid;
        at_ += SmsTimeLength;
        return true;
    }
    const uint8_t* Take(size_t count, SmsField field)
    {
        if (!Need(count, field))
            return nullptr;
        at_ += count;
        return data_ + at_ - count;
    }
    void UserData(uint8_t firstOctet, StoredSms& sms)
    {
        uint8_t length = 0;
        if (!Octet(length, SmsField::UserDataLength))
            return;
        sms.userData = DecodeUserData(data_ + at_, length_ - at_, length, firstOctet & HeaderIndicator, sms.coding);
        if (sms.userData.headerBroken)
            error_ = SmsField::UserDataHeader;
        else if (sms.userData.truncated)
            error_ = SmsField::UserData;
    }
    bool AtEnd() const { return at_ >= length_; }

private:
    bool Need(size_t count, SmsField field) { return length_ - at_ >= count || Fail(field); }
    bool Fail(SmsField field)
    {
        error_ = field;
        return false;
    }

    const uint8_t* data_;
    size_t length_;
    size_t at_ = 0;
    std::optional<SmsField>& error_;
};

bool CodingAndData(TpduReader& reader, StoredSms& sms)
{
    if (!reader.Octet(sms.dataCodingScheme, SmsField::DataCodingScheme))
        return false;
    sms.coding = DecodeDataCoding(*sms.dataCodingScheme);
    return true;
}

void Deliver(TpduReader& reader, StoredSms& sms)
{
    sms.carriesUserData = true;
    if (reader.Address(sms.address, SmsField::OriginatingAddress) && reader.Octet(sms.protocolId, SmsField::ProtocolIdentifier) &&
        CodingAndData(reader, sms) && reader.Time(sms.timestamp, sms.timestampValid, sms.timestampInvalid, SmsField::TimeStamp))
        reader.UserData(sms.firstOctet, sms);
}

void Submit(TpduReader& reader, StoredSms& sms)
{
    sms.carriesUserData = true;
    uint8_t reference = 0;
    if (!reader.Octet(reference, SmsField::MessageReference))
        return;
    sms.messageReference = reference;
    if (!reader.Address(sms.address, SmsField::DestinationAddress) || !reader.Octet(sms.protocolId, SmsField::ProtocolIdentifier) ||
        !CodingAndData(reader, sms))
        return;
    const uint8_t* period = reader.Take(ValidityPeriodLength(sms.firstOctet), SmsField::ValidityPeriod);
    if (!period)
        return;
    sms.validity = DecodeValidityPeriod(sms.firstOctet, period);
    reader.UserData(sms.firstOctet, sms);
}

// TP-PI: which optional fields follow. While bit 7 is set another indicator
// octet follows; those octets and the first one's bits 3-6 are reserved and
// ignored. Indicator octets up to the end of the record (its FF padding)
// announce nothing.
void StatusReportOptionalFields(TpduReader& reader, StoredSms& sms)
{
    uint8_t indicator = 0;
    if (reader.AtEnd() || !reader.Octet(indicator, SmsField::ParameterIndicator))
        return;
    for (uint8_t octet = indicator; octet & 0x80;) {
        if (reader.AtEnd())
            return;
        reader.Octet(octet, SmsField::ParameterIndicator);
    }
    if ((indicator & 0x01) && !reader.Octet(sms.protocolId, SmsField::ProtocolIdentifier))
        return;
    if ((indicator & 0x02) && !CodingAndData(reader, sms))
        return;
    if (indicator & 0x04) {
        sms.carriesUserData = true;
        reader.UserData(sms.firstOctet, sms);
    }
}

void StatusReport(TpduReader& reader, StoredSms& sms)
{
    uint8_t reference = 0, status = 0;
    if (!reader.Octet(reference, SmsField::MessageReference))
        return;
    sms.messageReference = reference;
    if (!reader.Address(sms.address, SmsField::RecipientAddress) ||
        !reader.Time(sms.timestamp, sms.timestampValid, sms.timestampInvalid, SmsField::TimeStamp) ||
        !reader.Time(sms.dischargeTime, sms.dischargeTimeValid, sms.dischargeTimeInvalid, SmsField::DischargeTime) ||
        !reader.Octet(status, SmsField::Status))
        return;
    sms.reportStatus = DecodeReportStatus(status);
    StatusReportOptionalFields(reader, sms);
}

// SMS-COMMAND: reference, protocol, command type, message number, address.
void Command(TpduReader& reader, StoredSms& sms)
{
    uint8_t type = 0;
    if (!reader.Octet(sms.messageReference, SmsField::MessageReference) ||
        !reader.Octet(sms.protocolId, SmsField::ProtocolIdentifier) || !reader.Octet(type, SmsField::CommandType))
        return;
    sms.commandType = DecodeCommandType(type);
    if (reader.Octet(sms.messageNumber, SmsField::MessageNumber))
        reader.Address(sms.address, SmsField::DestinationAddress);
}

// A used record's low three bits: 001 received and read, 011 received and
// not read yet, 101 sent, 111 (or anything else) not sent yet.
SmsStatus StatusOf(uint8_t statusByte)
{
    if (!(statusByte & UsedBit))
        return SmsStatus::Free;
    switch (statusByte & 0x07) {
    case 0x01: return SmsStatus::Read;
    case 0x03: return SmsStatus::Unread;
    case 0x05: return SmsStatus::Sent;
    default: return SmsStatus::Unsent;
    }
}

SmsType TypeOf(uint8_t firstOctet, uint8_t statusByte)
{
    switch (firstOctet & 0x03) {
    case 0: return SmsType::Deliver;
    case 1: return SmsType::Submit;
    case 2: return (statusByte & (UsedBit | SentBit)) == (UsedBit | SentBit) ? SmsType::Command : SmsType::StatusReport;
    default: return SmsType::Reserved;
    }
}

void DecodeTpdu(const uint8_t* tpdu, size_t length, StoredSms& sms)
{
    TpduReader reader(tpdu, length, sms.stoppedAt);
    if (!reader.Octet(sms.firstOctet, SmsField::FirstOctet))
        return;
    sms.type = TypeOf(sms.firstOctet, sms.statusByte);
    switch (sms.type) {
    case SmsType::Deliver: Deliver(reader, sms); break;
    case SmsType::Submit: Submit(reader, sms); break;
    case SmsType::StatusReport: StatusReport(reader, sms); break;
    case SmsType::Command: Command(reader, sms); break;
    default: sms.stoppedAt = SmsField::MessageType; break;
    }
}

bool IsBlank(const uint8_t* data, size_t length)
{
    return std::all_of(data, data + length, [](uint8_t b) { return b == 0xFF; }) ||
           std::all_of(data, data + length, [](uint8_t b) { return b == 0x00; });
}

} // namespace

bool DecodeStoredSms(const uint8_t* record, size_t length, StoredSms& sms)
{
    sms = StoredSms{};
    if (length < 1)
        return false;
    sms.statusByte = record[0];
    sms.status = StatusOf(record[0]);
    const bool used = record[0] & UsedBit;
    if (IsBlank(record + 1, length - 1))
        return false;
    const size_t centre = DecodeServiceCentreAddress(record + 1, length - 1, sms.serviceCentre);
    if (centre == 0)
        sms.stoppedAt = SmsField::ServiceCentreAddress;
    else
        DecodeTpdu(record + 1 + centre, length - 1 - centre, sms);
    sms.deleted = !used;
    return used || !sms.stoppedAt;
}
