// The --full text decoders: alpha identifiers in every form, GSM codes with
// the extension table, extended BCD digits.
#include <cstddef>
#include <cstdint>

#include "FuzzUtf8.h"
#include "sim/text/AlphaIdentifier.h"
#include "sim/dialling/DiallingDigits.h"
#include "sim/text/GsmText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const AlphaText alpha = DecodeAlphaIdentifier(data, size);
    if (!IsValidUtf8(alpha.text) || alpha.text.size() > 4 * size)
        __builtin_trap();
    const std::string gsm = GsmCodesToUtf8(data, size);
    if (!IsValidUtf8(gsm) || gsm.size() > 3 * size)
        __builtin_trap();
    const std::string digits = DecodeDiallingDigits(data, size);
    if (digits.size() > 2 * size || !IsDiallingNumber(digits))
        __builtin_trap();
    return 0;
}
