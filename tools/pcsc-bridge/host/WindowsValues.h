// The few PC/SC values whose encoding differs between WinSCard and
// pcsc-lite. The wire carries the Windows values; the host translates.
#pragma once
#include <cstdint>

namespace windows_values {

// Protocol masks: T=0 and T=1 agree, the raw protocol does not
// (Windows 0x10000, pcsc-lite 0x4).
uint32_t ProtocolsToPcscLite(uint32_t windowsProtocols);
uint32_t ProtocolsFromPcscLite(uint32_t pcscLiteProtocols);

// SCardStatus card state: a bit mask on pcsc-lite, an ordinal on Windows
// (the most advanced state that holds).
uint32_t CardStateFromPcscLite(uint32_t pcscLiteState);

} // namespace windows_values
