// A dialling-number file and its extension file decoded for --full. The
// first byte is the record length; the rest is cut into records (each a
// length byte and that many bytes, as received), those after a zero length
// byte belonging to the extension file.
#include <cstddef>
#include <cstdint>

#include "FuzzUtf8.h"
#include "sim/dialling/PhoneBookDecoder.h"
#include "sim/provider/ServiceProviderName.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    RawCardFile file;
    RawCardFile extension;
    file.recordLength = data[0];
    RawCardFile* target = &file;
    for (size_t i = 1; i < size;) {
        const size_t length = data[i++];
        if (length == 0) {
            target = &extension;
            continue;
        }
        const size_t taken = length < size - i ? length : size - i;
        target->records.emplace_back(data + i, data + i + taken);
        i += taken;
    }
    file.recordCount = static_cast<uint16_t>(file.records.size());

    const PhoneBook book = DecodePhoneBook(file, &extension);
    if (book.records.size() > file.records.size())
        __builtin_trap();
    for (const PhoneBookRecord& record : book.records) {
        if (!IsValidUtf8(record.name) || !IsDiallingNumber(record.number))
            __builtin_trap();
        if (record.extension.records.size() > MaxExtensionChain)
            __builtin_trap();
    }
    NeedsExtension(file);
    ServiceProviderName spn;
    if (DecodeServiceProviderName(data, size, spn) && !IsValidUtf8(spn.name.text))
        __builtin_trap();
    return 0;
}
