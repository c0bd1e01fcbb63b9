#include "CardIdentity.h"

#include <string>

#include "Bcd.h"
#include "SimFiles.h"

std::string IccIdText(const uint8_t* bytes, size_t count)
{
    return BcdToString(bytes, count);
}

unsigned ImsiReadLength(uint16_t fileSize)
{
    // A READ BINARY of 0 bytes is not allowed: sizes 0 and 1 and sizes whose
    // low byte is 0 leave the IMSI empty.
    const unsigned lowByte = fileSize & 0xFFu;
    if (fileSize <= 1 || lowByte == 0)
        return 0;
    return lowByte;
}

std::string ImsiText(const uint8_t* bytes, size_t count)
{
    // Byte 0 is the length byte; only the bytes actually read are decoded.
    if (count < 2)
        return {};
    std::string digits = BcdToString(bytes + 1, count - 1);
    if (!digits.empty())
        digits.erase(0, 1); // the parity/identity-type digit
    return digits;
}

namespace {

std::string EnabledText(int32_t triesLeft)
{
    return "Enabled and " + std::to_string(triesLeft) + " tries left.";
}

} // namespace

std::string Pin1StateText(const PinStatus& status)
{
    return status.pin1Enabled ? EnabledText(status.pin1TriesLeft) : "Disabled";
}

std::string Pin2StateText(const PinStatus& status)
{
    return status.pin2Known ? EnabledText(status.pin2TriesLeft) : "Disabled";
}

bool NeedsPin1(const PinStatus& status, int32_t readAccess)
{
    return status.pin1Enabled && readAccess == simfile::AccessPin1;
}

bool IsPin1Blocked(const PinStatus& status, int32_t readAccess)
{
    return NeedsPin1(status, readAccess) && status.pin1TriesLeft == 0;
}
