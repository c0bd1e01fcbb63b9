#include "SmsRecords.h"

#include <algorithm>

#include "AnsiText.h"
#include "Bcd.h"
#include "GsmAlphabet.h"
#include "ResultCodes.h"
#include "SeptetCodes.h"
#include "SimFiles.h"

namespace {

constexpr unsigned MinRecordLength = 15;
constexpr uint8_t InternationalAddress = 0x91;
constexpr size_t TimestampLength = 7;
// PID, DCS, time stamp and UDL between the originating address and the user data.
constexpr size_t FieldsBeforeUserData = 2 + TimestampLength + 1;

enum class TextCoding { Gsm7Bit = 0, EightBit = 1, Ucs2 = 2, Reserved = 3 };

// Offsets of the SMS-DELIVER fields within one record.
struct DeliverLayout {
    size_t firstOctet = 0;
    size_t originatingAddress = 0;
    size_t addressLength = 0; // A: octets of the address, its length and type octets included
    size_t protocolId = 0;
    size_t userData = 0;
};

// Fails when a length the record claims reaches past the received bytes.
bool LocateDeliverFields(const uint8_t* record, size_t length, DeliverLayout& layout)
{
    if (length < 2)
        return false;
    layout.firstOctet = 2 + size_t{record[1]};
    layout.originatingAddress = layout.firstOctet + 1;
    if (layout.originatingAddress >= length)
        return false;
    const size_t digitCount = record[layout.originatingAddress];
    layout.addressLength = (digitCount + (digitCount & 1) + 4) / 2;
    layout.protocolId = layout.originatingAddress + layout.addressLength;
    layout.userData = layout.protocolId + FieldsBeforeUserData;
    return layout.userData <= length;
}

std::string AddressText(uint8_t type, const uint8_t* digits, size_t count)
{
    std::string text = type == InternationalAddress ? "+" : "";
    return text + BcdToString(digits, count);
}

bool IsNumeric(const std::string& address)
{
    const size_t first = !address.empty() && address[0] == '+' ? 1 : 0;
    return std::all_of(address.begin() + first, address.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::u16string RemoveFirstLineFeed(std::u16string text)
{
    const size_t position = text.find(u'\n');
    if (position != std::u16string::npos)
        text.erase(position, 1);
    return text;
}

size_t SeptetOctets(size_t septets)
{
    return (septets * 7 + 7) / 8;
}

// Exactly `septets` characters when the octets hold them: the septet count
// tells a final "@" from the fill of the last octet.
std::u16string Gsm7BitText(const uint8_t* data, size_t available, size_t septets)
{
    std::string codes = UnpackSeptetCodes(data, std::min(SeptetOctets(septets), available));
    if (codes.size() > septets)
        codes.resize(septets);
    return AnsiToWide(GsmAlphaToString(reinterpret_cast<const uint8_t*>(codes.data()), codes.size()));
}

std::u16string UserDataText(const SmsMessage& message, const uint8_t* data, size_t available)
{
    const size_t udl = message.userDataLength;
    switch (static_cast<TextCoding>((message.dataCoding >> 2) & 3)) {
    case TextCoding::Gsm7Bit:
        return Gsm7BitText(data, available, udl);
    case TextCoding::EightBit:
        return AnsiBytesToWide(data, std::min(udl, available));
    case TextCoding::Ucs2:
        return Ucs2BeToWide(data, std::min(udl, available));
    case TextCoding::Reserved:
        break;
    }
    return u"#UNSUPPORTED MESSAGE ENCODING#";
}

void DecodeFirstOctet(SmsMessage& message, uint8_t firstOctet)
{
    message.replyPathUdhi = firstOctet >> 6;
    message.statusReportIndication = (firstOctet >> 5) & 1;
    message.firstOctetBit4 = (firstOctet >> 4) & 1;
    message.firstOctetBit3 = (firstOctet >> 3) & 1;
    message.moreMessagesToSend = (firstOctet >> 2) & 1;
}

} // namespace

long ParseSmsFileHeader(const std::vector<uint8_t>& header, SmsFile& smsFile)
{
    if (header.size() != simfile::HeaderLength)
        return sc::Unexpected;
    const unsigned fileSize = header[2] * 256u + header[3];
    const uint8_t recordLength = header[14];
    if (recordLength >= MinRecordLength) {
        smsFile.recordLength = recordLength;
        smsFile.recordCount = static_cast<uint16_t>(fileSize / recordLength);
    }
    return sc::Success;
}

bool IsSmsRecordUsed(const uint8_t* record, size_t length)
{
    if (length == 0)
        return false;
    return (record[0] & 1) != 0 || (length > 1 && record[1] != 0xFF);
}

bool DecodeSms(SmsMessage& message, const uint8_t* record, size_t length)
{
    message.rawRecord.assign(record, record + length);
    if (length == 0)
        return false;
    message.status = SmsStatusText(record[0]);

    // A record whose addresses or fixed fields reach past its end is not
    // listed; user data the record lacks is left out of the text.
    DeliverLayout layout;
    if (!LocateDeliverFields(record, length, layout))
        return false;

    const uint8_t serviceCentreLength = record[1];
    if (serviceCentreLength > 0)
        message.serviceCentre = AddressText(record[2], record + 3, serviceCentreLength - 1u);

    DecodeFirstOctet(message, record[layout.firstOctet]);

    const std::string sender = AddressText(record[layout.originatingAddress + 1],
                                           record + layout.originatingAddress + 2, layout.addressLength - 2);
    message.sender = AnsiToWide(sender);
    if (!IsNumeric(sender))
        return false;

    const uint8_t* fields = record + layout.protocolId;
    message.protocolId = fields[0];
    message.dataCoding = fields[1];
    message.userDataLength = fields[9];
    message.date = RemoveFirstLineFeed(AnsiToWide(ScTimestampToDate(message, fields + 2)));

    message.text = UserDataText(message, record + layout.userData, length - layout.userData);
    ReplaceLineBreaks(message.text);
    return true;
}

std::string SmsStatusText(uint8_t statusByte)
{
    switch (statusByte & 7) {
    case 1:
        return "Read";
    case 3:
        return "Unread";
    case 5:
        return "Unknown";
    case 7:
        return "To be sent";
    default:
        return "Deleted";
    }
}
