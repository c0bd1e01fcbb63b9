// An EF_PBR record.
#include <cstddef>
#include <cstdint>

#include "sim/uicc/PhoneBookReference.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const PhoneBookSet set = DecodePhoneBookReference(data, size);
    if (!set.used && !set.files.empty())
        __builtin_trap();
    if (set.files.size() > size / 4) // a template header and a file object of four bytes at least
        __builtin_trap();
    for (const PhoneBookFileRef& file : set.files)
        if (file.link != PhoneBookLink::Type2 && file.iapIndex != 0)
            __builtin_trap();
    return 0;
}
