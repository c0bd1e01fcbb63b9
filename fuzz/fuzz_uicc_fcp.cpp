// A SELECT answer decoded as an FCP template, and the same bytes as the
// value of a PIN status template.
#include <cstddef>
#include <cstdint>

#include "sim/uicc/FileControlParameters.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FileControlParameters fcp = DecodeFileControlParameters(data, size);
    if (fcp.dfName.size() > size || fcp.proprietary.size() > size)
        __builtin_trap();
    if (fcp.sfi.state == SfiState::Present && (fcp.sfi.value == 0 || fcp.sfi.value > 30))
        __builtin_trap();
    if (fcp.descriptor && fcp.descriptor->structure == FileStructure::Directory &&
        (fcp.descriptor->descriptorByte & 0x3F) != 0x38)
        __builtin_trap();

    const PinStatusTemplate pins = DecodePinStatusTemplate(data, size);
    if (pins.keys.size() > size / 3) // each key reference takes three bytes at least
        __builtin_trap();
    ApplicationPinKey(pins);
    SecondPinKey(pins);
    return 0;
}
