#include "PinStatus.h"

namespace {

constexpr size_t GsmDataLengthOffset = 12;
constexpr size_t FirstStatusLength = 13;
constexpr size_t FileCharacteristicsOffset = 13;
constexpr size_t Chv1StatusOffset = 18;
constexpr size_t Chv2StatusOffset = 20;
constexpr size_t LengthWithChv2 = 22;
constexpr uint8_t Chv1DisabledBit = 0x80;
constexpr uint8_t TriesLeftMask = 0x0F;

} // namespace

bool SecondStatusLength(const uint8_t* firstResponse, size_t dataLength, uint8_t& length)
{
    if (dataLength <= GsmDataLengthOffset)
        return false;
    // Computed without 8-bit wrap: a length that P3 cannot carry, or one too
    // short for the CHV1 status, is refused rather than sent.
    const unsigned wanted = FirstStatusLength + firstResponse[GsmDataLengthOffset];
    if (wanted > 255 || wanted <= Chv1StatusOffset)
        return false;
    length = static_cast<uint8_t>(wanted);
    return true;
}

bool DecodePinStatus(const uint8_t* data, size_t dataLength, PinStatus& status)
{
    if (dataLength <= Chv1StatusOffset)
        return false;
    status.Clear();
    status.pin1Enabled = (data[FileCharacteristicsOffset] & Chv1DisabledBit) == 0;
    status.pin1TriesLeft = data[Chv1StatusOffset] & TriesLeftMask;
    if (dataLength >= LengthWithChv2) {
        status.pin2Known = true;
        status.pin2TriesLeft = data[Chv2StatusOffset] & TriesLeftMask;
    }
    return true;
}
