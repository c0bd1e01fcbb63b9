// Instruction bytes of the commands this program sends or, in the simulator,
// answers (3GPP TS 51.011, ETSI TS 102 221): the card layer, the front ends
// and the simulator take theirs from here.
#pragma once
#include <cstdint>

constexpr uint8_t InsVerify = 0x20;
constexpr uint8_t InsUnblock = 0x2C;
constexpr uint8_t InsSelect = 0xA4;
constexpr uint8_t InsReadBinary = 0xB0;
constexpr uint8_t InsReadRecord = 0xB2;
constexpr uint8_t InsGetResponse = 0xC0;
constexpr uint8_t InsStatus = 0xF2;
