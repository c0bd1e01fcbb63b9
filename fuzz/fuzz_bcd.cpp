// Swapped-nibble BCD and the identity fields built on it, and the STATUS
// decoding of the PIN states.
#include <cstddef>
#include <cstdint>

#include "sim/Bcd.h"
#include "sim/CardIdentity.h"
#include "sim/PinStatus.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    BcdToString(data, size);
    IccIdText(data, size);
    if (size >= 2)
        ImsiReadLength(static_cast<uint16_t>(data[0] << 8 | data[1]));
    ImsiText(data, size);

    uint8_t length = 0;
    SecondStatusLength(data, size, length);
    PinStatus status;
    if (DecodePinStatus(data, size, status)) {
        Pin1StateText(status);
        Pin2StateText(status);
    }
    return 0;
}
