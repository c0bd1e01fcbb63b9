// EF_SMS: records decoded with the SMS-DELIVER layout (3GPP TS 23.040).
#pragma once
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

struct SmsMessage {
    std::string status = "Read";
    std::string serviceCentre;
    std::u16string sender;
    std::u16string date;
    std::tm timestamp{};
    std::u16string text;
    uint8_t replyPathUdhi = 0;
    uint8_t statusReportIndication = 0;
    uint8_t firstOctetBit4 = 0;
    uint8_t firstOctetBit3 = 0;
    uint8_t moreMessagesToSend = 1;
    uint8_t protocolId = 0;
    uint8_t dataCoding = 0;
    uint8_t userDataLength = 0;
    std::vector<uint8_t> rawRecord;
};

struct SmsFile {
    uint16_t recordCount = 0;
    uint8_t recordLength = 0;
    std::vector<SmsMessage> messages;

    void Clear() { *this = SmsFile{}; }
};

// Geometry from the 15-byte header of EF_SMS. Returns 0, or
// SCARD_E_UNEXPECTED (file unchanged) for a header of another length.
long ParseSmsFileHeader(const std::vector<uint8_t>& header, SmsFile& smsFile);

// A record is decoded when its status marks it used or its byte 1 is not 0xFF.
bool IsSmsRecordUsed(const uint8_t* record, size_t length);

// Decodes one record of `length` bytes into `message`. Returns true when the
// record is to be listed: not when its sender is not numeric, nor when a
// length it claims puts an address or a fixed field past its end. User data
// beyond the end is left out of the text; a 7-bit text has exactly TP-UDL
// characters when the record holds them.
bool DecodeSms(SmsMessage& message, const uint8_t* record, size_t length);

std::string SmsStatusText(uint8_t statusByte);

// GSM 7-bit packed septets of `octetCount` octets, as Latin-1 bytes. A final
// code 0 is taken for fill and dropped.
std::string UnpackSeptets(const uint8_t* data, uint8_t octetCount);

// The date text of a 7-octet service-centre time stamp, for example
// "Wed Jan 02 02:03:55 1980\n"; also sets message.timestamp.
std::string ScTimestampToDate(SmsMessage& message, const uint8_t* stamp);

// Big-endian UCS2 octets to UTF-16, up to the first zero code unit; a final
// odd byte is ignored.
std::u16string Ucs2BeToWide(const uint8_t* data, size_t length);

// Every CR and LF becomes a space.
void ReplaceLineBreaks(std::u16string& text);
