#include "WindowsValues.h"

namespace windows_values {

namespace {

constexpr uint32_t kWindowsRaw = 0x00010000;
constexpr uint32_t kPcscLiteRaw = 0x00000004;

} // namespace

uint32_t ProtocolsToPcscLite(uint32_t windowsProtocols)
{
    uint32_t protocols = windowsProtocols & ~kWindowsRaw;
    if (windowsProtocols & kWindowsRaw)
        protocols |= kPcscLiteRaw;
    return protocols;
}

uint32_t ProtocolsFromPcscLite(uint32_t pcscLiteProtocols)
{
    uint32_t protocols = pcscLiteProtocols & ~kPcscLiteRaw;
    if (pcscLiteProtocols & kPcscLiteRaw)
        protocols |= kWindowsRaw;
    return protocols;
}

uint32_t CardStateFromPcscLite(uint32_t pcscLiteState)
{
    // pcsc-lite bit → Windows ordinal, most advanced first.
    static constexpr struct {
        uint32_t bit;
        uint32_t ordinal;
    } kStates[] = {
        {0x0040, 6}, // specific
        {0x0020, 5}, // negotiable
        {0x0010, 4}, // powered
        {0x0008, 3}, // swallowed
        {0x0004, 2}, // present
        {0x0002, 1}, // absent
    };
    for (const auto& state : kStates)
        if (pcscLiteState & state.bit)
            return state.ordinal;
    return 0; // unknown
}

} // namespace windows_values
