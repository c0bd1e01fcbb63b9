#include "UiccCommands.h"

#include "ReceiveRoom.h"
#include "sim/Instructions.h"
#include "sim/ResultCodes.h"

namespace {

constexpr uint8_t Cla = 0x00;
constexpr uint8_t FcpWanted = 0x04;
constexpr uint8_t ByFileId = 0x00;
constexpr uint8_t ByAid = 0x04;
constexpr uint8_t ByPathFromMf = 0x08;
constexpr uint8_t AbsoluteMode = 0x04;
constexpr uint8_t Sw1MoreData = 0x61;
constexpr uint8_t Sw1WrongLength = 0x6C;
// A card that keeps answering 61 xx is not followed for ever: no FCP, record
// or answer this reader asks for is longer.
constexpr size_t MaxAnswerLength = 4096;

uint8_t LengthByte(unsigned length)
{
    return static_cast<uint8_t>(length >= 256 ? 0 : length);
}

std::vector<uint8_t> Case4(uint8_t ins, uint8_t p1, uint8_t p2, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> command = {Cla, ins, p1, p2, static_cast<uint8_t>(data.size())};
    command.insert(command.end(), data.begin(), data.end());
    command.push_back(0x00);
    return command;
}

} // namespace

bool UiccAnswer::Ok() const
{
    return result == sc::Success && (statusWord == 0x9000 || statusWord >> 8 == 0x91 || statusWord >> 8 == 0x92);
}

std::optional<uint8_t> TriesLeft(const UiccAnswer& answer)
{
    if (answer.result != sc::Success)
        return std::nullopt;
    if ((answer.statusWord & 0xFFF0) == 0x63C0)
        return static_cast<uint8_t>(answer.statusWord & 0x0F);
    if (answer.statusWord == 0x6983)
        return uint8_t{0};
    return std::nullopt;
}

UiccAnswer UiccCommands::Transmit(const std::vector<uint8_t>& command)
{
    UiccAnswer answer;
    card_detail::ResponseBuffer response{};
    const DWORD room = card_detail::ReceiveRoomFor(command.data(), command.size());
    DWORD received = room;
    answer.result = m_reader.Transmit(command.data(), command.size(), response.data(), received);
    if (answer.result != sc::Success)
        return answer;
    if (received < 2 || received > room) {
        answer.result = sc::Unexpected;
        return answer;
    }
    answer.statusWord = static_cast<uint16_t>(response[received - 2] << 8 | response[received - 1]);
    answer.data.assign(response.begin(), response.begin() + (received - 2));
    return answer;
}

UiccAnswer UiccCommands::Exchange(const std::vector<uint8_t>& command)
{
    UiccAnswer answer = Transmit(command);
    if (answer.result == sc::Success && answer.statusWord >> 8 == Sw1WrongLength && command.size() == 5) {
        std::vector<uint8_t> again = command;
        again[4] = static_cast<uint8_t>(answer.statusWord & 0xFF);
        answer = Transmit(again);
    }
    while (answer.result == sc::Success && answer.statusWord >> 8 == Sw1MoreData) {
        if (answer.data.size() >= MaxAnswerLength) {
            answer.result = sc::Unexpected;
            break;
        }
        const std::vector<uint8_t> getResponse = {Cla, InsGetResponse, 0x00, 0x00,
                                                  static_cast<uint8_t>(answer.statusWord & 0xFF)};
        UiccAnswer part = Transmit(getResponse);
        if (part.result != sc::Success) {
            answer.result = part.result;
            break;
        }
        answer.data.insert(answer.data.end(), part.data.begin(), part.data.end());
        answer.statusWord = part.statusWord;
    }
    return answer;
}

UiccAnswer UiccCommands::SelectById(uint16_t fileId)
{
    return Exchange(Case4(InsSelect, ByFileId, FcpWanted,
                          {static_cast<uint8_t>(fileId >> 8), static_cast<uint8_t>(fileId & 0xFF)}));
}

UiccAnswer UiccCommands::SelectByPath(const std::vector<uint16_t>& path)
{
    std::vector<uint8_t> bytes;
    for (uint16_t fileId : path) {
        bytes.push_back(static_cast<uint8_t>(fileId >> 8));
        bytes.push_back(static_cast<uint8_t>(fileId & 0xFF));
    }
    return Exchange(Case4(InsSelect, ByPathFromMf, FcpWanted, bytes));
}

UiccAnswer UiccCommands::SelectByAid(const std::vector<uint8_t>& aid)
{
    return Exchange(Case4(InsSelect, ByAid, FcpWanted, aid));
}

UiccAnswer UiccCommands::ReadBinary(uint16_t offset, unsigned length)
{
    return Exchange({Cla, InsReadBinary, static_cast<uint8_t>(offset >> 8), static_cast<uint8_t>(offset & 0xFF),
                     LengthByte(length)});
}

UiccAnswer UiccCommands::ReadRecord(uint8_t number, unsigned length)
{
    return Exchange({Cla, InsReadRecord, number, AbsoluteMode, LengthByte(length)});
}

UiccAnswer UiccCommands::VerifyStatus(uint8_t keyReference)
{
    return Transmit({Cla, InsVerify, 0x00, keyReference});
}

UiccAnswer UiccCommands::UnblockStatus(uint8_t keyReference)
{
    return Transmit({Cla, InsUnblock, 0x00, keyReference});
}

UiccAnswer UiccCommands::Verify(uint8_t keyReference, const std::vector<uint8_t>& pin)
{
    std::vector<uint8_t> command = {Cla, InsVerify, 0x00, keyReference, static_cast<uint8_t>(pin.size())};
    command.insert(command.end(), pin.begin(), pin.end());
    return Transmit(command);
}
