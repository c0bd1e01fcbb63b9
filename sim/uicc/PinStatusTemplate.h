// The PIN status template (tag C6) of the FCP of an MF, DF or ADF: the PS_DO
// (tag 90), a bit map of which PINs are enabled, over the key references
// (tag 83) that follow it, each optionally preceded by a usage qualifier
// (tag 95).
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace key_reference {
constexpr uint8_t FirstApplicationPin = 0x01; // PIN1 of applications 1..8: 01..08
constexpr uint8_t LastApplicationPin = 0x08;
constexpr uint8_t UniversalPin = 0x11;
constexpr uint8_t FirstSecondPin = 0x81;      // PIN2, local to its ADF: 81..88
} // namespace key_reference

// The usage qualifier telling the application to use the universal PIN.
constexpr uint8_t UseUniversalPin = 0x08;

struct KeyStatus {
    uint8_t keyReference = 0;
    // From the PS_DO bit of this key's position: bit 8 of its first byte for
    // the first key reference, and so on. Empty when the PS_DO is too short.
    std::optional<bool> enabled;
    std::optional<uint8_t> usageQualifier;
};

struct PinStatusTemplate {
    std::vector<KeyStatus> keys; // in the order of the template
    // A length ran past the data, an object was malformed, or the PS_DO is
    // missing; the keys read before it stand.
    bool malformed = false;
};

// Decodes the value of a C6 object.
PinStatusTemplate DecodePinStatusTemplate(const uint8_t* value, size_t length);

// The status of `keyReference`, or null when the template does not list it.
const KeyStatus* FindKey(const PinStatusTemplate& pins, uint8_t keyReference);

// The key that guards the application: the universal PIN where its usage
// qualifier says to use it, otherwise the first application PIN (01..08)
// listed. Empty when the template lists neither.
std::optional<uint8_t> ApplicationPinKey(const PinStatusTemplate& pins);

// The first second application PIN (81..88) listed, if any.
std::optional<uint8_t> SecondPinKey(const PinStatusTemplate& pins);
