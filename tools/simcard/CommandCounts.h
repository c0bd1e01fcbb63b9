// What the simulated card received, so that a test can prove the reader
// never tried to write.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace simcard {

struct CommandCounts {
    uint64_t commands = 0; // every command APDU, refused ones included
    uint64_t writes = 0;   // commands that would change the card (all refused)
    uint64_t resets = 0;   // resets and power-ons
    std::array<uint64_t, 256> byInstruction{};

    // "commands=12 writes=0 resets=1 A4=4 C0=4 ..." (instructions in hex).
    std::string Summary() const;
};

// UPDATE BINARY, UPDATE RECORD, INCREASE, INVALIDATE, REHABILITATE and the
// commands that change or unblock a CHV.
bool IsWriteInstruction(uint8_t instruction);

} // namespace simcard
