// The GSM SIM commands of CCardReader: SELECT with GET RESPONSE, READ BINARY,
// STATUS and VERIFY CHV1, class A0 over T=0.
#include <algorithm>
#include <array>
#include <cstring>

#include "CardReader.h"
#include "ReceiveRoom.h"
#include "StatusWords.h"
#include "sim/AnsiText.h"
#include "sim/Instructions.h"
#include "sim/ResultCodes.h"
#include "sim/SimFiles.h"

namespace {

constexpr uint8_t Cla = 0xA0;

constexpr uint8_t ElementaryFileResponseLength = 0x0F;
constexpr uint8_t FirstStatusLength = 0x0D;
constexpr size_t PinLength = 8;
constexpr uint8_t PinFiller = 0xFF;

using card_detail::ReceiveLength;
using card_detail::ReceiveRoom;
using card_detail::ResponseBuffer;
using card_detail::EndsWithOk;
using card_detail::Sw1ResponseWaiting;

// The access level of one access-condition nibble.
int32_t AccessLevel(uint8_t nibble)
{
    switch (nibble) {
    case 0:
        return simfile::AccessAlways;
    case 1:
        return simfile::AccessPin1;
    case 2:
        return simfile::AccessPin2;
    default:
        return simfile::AccessOther;
    }
}

} // namespace

LONG CCardReader::SelectFile(uint16_t fileId)
{
    std::vector<uint8_t> header;
    bool isDirectory = false;
    return SelectFile(fileId, header, isDirectory);
}

LONG CCardReader::SelectFile(uint16_t fileId, std::vector<uint8_t>& header)
{
    bool isDirectory = false;
    return SelectFile(fileId, header, isDirectory);
}

LONG CCardReader::SelectFile(uint16_t fileId, std::vector<uint8_t>& header, bool& isDirectory)
{
    const uint8_t select[] = {Cla, InsSelect, 0x00, 0x00, 0x02, static_cast<uint8_t>(fileId >> 8),
                              static_cast<uint8_t>(fileId & 0xFF)};
    ResponseBuffer response{};
    DWORD length = ReceiveLength;
    m_lastSelectStatus = 0;
    LONG result = Transmit(select, sizeof select, response.data(), length);
    if (result != sc::Success)
        return result;
    if (length != 2)
        return sc::Unexpected;
    m_lastSelectStatus = static_cast<uint16_t>(response[0] << 8 | response[1]);
    if (response[0] != Sw1ResponseWaiting)
        return sc::FileNotFound;
    // An elementary file announces 15 bytes of response; anything else is a
    // directory (MF or DF).
    isDirectory = response[1] != ElementaryFileResponseLength;

    // Always 15 bytes: a directory's longer answer is cut to its first 15.
    const uint8_t getResponse[] = {Cla, InsGetResponse, 0x00, 0x00, simfile::HeaderLength};
    length = ReceiveLength;
    result = Transmit(getResponse, sizeof getResponse, response.data(), length);
    if (result != sc::Success)
        return result;
    if (length != simfile::HeaderLength + 2 || !EndsWithOk(response.data(), length))
        return sc::Unexpected;
    header.assign(response.begin(), response.begin() + simfile::HeaderLength);
    return sc::Success;
}

LONG CCardReader::ParseFileHeader(const std::vector<uint8_t>& header, uint16_t& fileSize, int32_t& readAccess,
                                  int32_t& updateAccess)
{
    if (header.size() != simfile::HeaderLength)
        return sc::Unexpected;
    fileSize = static_cast<uint16_t>(header[2] * 256 + header[3]);
    const uint8_t accessConditions = header[8];
    readAccess = AccessLevel(accessConditions >> 4);
    updateAccess = AccessLevel(accessConditions & 0x0F);
    return sc::Success;
}

LONG CCardReader::ReadBinary(unsigned length, uint8_t* buffer)
{
    // Le is one byte, and 0 would mean 256: only 1..255 can be asked for.
    if (length == 0 || length > 255 || buffer == nullptr)
        return sc::Unexpected;
    const uint8_t readBinary[] = {Cla, InsReadBinary, 0x00, 0x00, static_cast<uint8_t>(length)};
    ResponseBuffer response{};
    DWORD received = ReceiveRoom(length);
    const LONG result = Transmit(readBinary, sizeof readBinary, response.data(), received);
    if (result != sc::Success)
        return result;
    if (received != length + 2 || !EndsWithOk(response.data(), received))
        return sc::Unexpected;
    std::memcpy(buffer, response.data(), length);
    return sc::Success;
}

bool CCardReader::GetStatus(PinStatus& pinStatus)
{
    const uint8_t firstStatus[] = {Cla, InsStatus, 0x00, 0x00, FirstStatusLength};
    ResponseBuffer response{};
    DWORD received = ReceiveLength;
    if (Transmit(firstStatus, sizeof firstStatus, response.data(), received) != sc::Success)
        return false;
    if (received != FirstStatusLength + 2u || !EndsWithOk(response.data(), received))
        return false;

    // 13 + the length of the GSM data; refused rather than sent when P3
    // cannot carry it or it cannot hold the CHV1 status.
    uint8_t secondLength = 0;
    if (!SecondStatusLength(response.data(), FirstStatusLength, secondLength))
        return false;
    const uint8_t secondStatus[] = {Cla, InsStatus, 0x00, 0x00, secondLength};
    received = ReceiveRoom(secondLength);
    if (Transmit(secondStatus, sizeof secondStatus, response.data(), received) != sc::Success)
        return false;
    if (received != secondLength + 2u || !EndsWithOk(response.data(), received))
        return false;

    PinStatus decoded;
    if (!DecodePinStatus(response.data(), secondLength, decoded))
        return false;
    pinStatus = decoded;
    return true;
}

LONG CCardReader::VerifyPin1(const std::u16string& pin)
{
    uint8_t verify[5 + PinLength] = {Cla, InsVerify, 0x00, 0x01, PinLength};
    std::memset(verify + 5, PinFiller, PinLength);
    // The PIN in the ANSI code page, at most 8 bytes; the tail stays FF.
    const std::string pinBytes = WideToAnsi(pin);
    std::memcpy(verify + 5, pinBytes.data(), std::min(pinBytes.size(), PinLength));

    ResponseBuffer response{};
    DWORD received = ReceiveLength;
    const LONG result = Transmit(verify, sizeof verify, response.data(), received);
    if (result != sc::Success)
        return result;
    if (received != 2)
        return sc::Unexpected;
    const uint16_t sw = static_cast<uint16_t>(response[0] << 8 | response[1]);
    switch (sw) {
    case 0x9000:
        return sc::Success;
    case 0x9804:
        return sc::WrongChv;
    case 0x9840:
        return sc::ChvBlocked;
    default:
        return sc::Unexpected;
    }
}
