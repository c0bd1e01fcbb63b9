#include "CommandCounts.h"

#include <cstdio>

namespace simcard {

bool IsWriteInstruction(uint8_t instruction)
{
    switch (instruction) {
    case 0xD6: // UPDATE BINARY
    case 0xDC: // UPDATE RECORD
    case 0x32: // INCREASE
    case 0x04: // INVALIDATE
    case 0x44: // REHABILITATE
    case 0x24: // CHANGE CHV
    case 0x26: // DISABLE CHV
    case 0x28: // ENABLE CHV
    case 0x2C: // UNBLOCK CHV
        return true;
    default:
        return false;
    }
}

std::string CommandCounts::Summary() const
{
    std::string text = "commands=" + std::to_string(commands) + " writes=" + std::to_string(writes) +
                       " resets=" + std::to_string(resets);
    for (size_t instruction = 0; instruction < byInstruction.size(); ++instruction) {
        if (byInstruction[instruction] == 0)
            continue;
        char name[8];
        std::snprintf(name, sizeof name, " %.2X=", static_cast<unsigned>(instruction));
        text += name + std::to_string(byInstruction[instruction]);
    }
    return text;
}

} // namespace simcard
