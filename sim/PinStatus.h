// PIN1/PIN2 state from the STATUS response of a directory (GSM 11.11).
#pragma once
#include <cstddef>
#include <cstdint>

struct PinStatus {
    bool pin1Enabled = false;
    bool pin2Known = false; // the card reported CHV2 data
    int32_t pin1TriesLeft = 0;
    int32_t pin2TriesLeft = 0;

    void Clear() { *this = PinStatus{}; }
};

// Length to ask for in the second STATUS: 13 + the GSM-specific data length
// (byte 12 of the first, 13-byte answer). Returns false when that length
// would not fit in P3 or could not hold the CHV1 status byte (byte 18).
bool SecondStatusLength(const uint8_t* firstResponse, size_t dataLength, uint8_t& length);

// Fills `status` from the data of the second STATUS (status word excluded).
// Returns false, leaving `status` untouched, when the data is too short.
bool DecodePinStatus(const uint8_t* data, size_t dataLength, PinStatus& status);
