// Texts of the ICC ID, IMSI and PIN fields, and the PIN-need rule.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "PinStatus.h"

// Bytes of EF_ICCID that are read.
constexpr unsigned IccIdLength = 10;

// The ICC ID digits of the EF_ICCID bytes.
std::string IccIdText(const uint8_t* bytes, size_t count);

// Number of bytes to read from EF_IMSI of `fileSize`: its low byte, or 0 when
// there is nothing to read (sizes 0 and 1, or a low byte of 0).
unsigned ImsiReadLength(uint16_t fileSize);

// The IMSI digits from the `count` bytes read from EF_IMSI: byte 0 (length)
// is skipped and so is the parity/type digit.
std::string ImsiText(const uint8_t* bytes, size_t count);

// "Enabled and %d tries left." or "Disabled".
std::string Pin1StateText(const PinStatus& status);
std::string Pin2StateText(const PinStatus& status);

// A file with `readAccess` needs PIN1 before it can be read.
bool NeedsPin1(const PinStatus& status, int32_t readAccess);

// A file that needs PIN1 while no attempt is left.
bool IsPin1Blocked(const PinStatus& status, int32_t readAccess);
