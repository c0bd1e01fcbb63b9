// A whole USIM phone book linked from its EF_PBR and its files' records.
// The first byte gives the number of EF_PBR records (1-4), each a length
// byte and that many bytes; then records of the files, each a byte choosing
// one of the file ids the sets name, a length byte and that many bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzUtf8.h"
#include "sim/uicc/PhoneBookAssembler.h"

namespace {

std::vector<uint8_t> Take(const uint8_t* data, size_t size, size_t& pos)
{
    if (pos >= size)
        return {};
    const size_t length = data[pos++];
    const size_t taken = length < size - pos ? length : size - pos;
    std::vector<uint8_t> bytes(data + pos, data + pos + taken);
    pos += taken;
    return bytes;
}

bool IsWellFormed(const UsimPhoneBookEntry& entry, size_t sets)
{
    bool good = IsValidUtf8(entry.name) && IsDiallingNumber(entry.number) && IsValidUtf8(entry.secondName);
    for (const AdditionalNumber& number : entry.additionalNumbers)
        good &= IsDiallingNumber(number.number) && IsValidUtf8(number.label);
    for (const std::string& email : entry.emails)
        good &= IsValidUtf8(email);
    for (const std::string& group : entry.groups)
        good &= IsValidUtf8(group);
    return good && entry.record >= 1 && entry.set >= 1 && entry.set <= sets;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    size_t pos = 1;
    std::vector<PhoneBookSet> sets;
    std::vector<uint16_t> fileIds;
    for (unsigned n = data[0] % 4 + 1; n > 0; --n) {
        const std::vector<uint8_t> record = Take(data, size, pos);
        sets.push_back(DecodePhoneBookReference(record.data(), record.size()));
        for (const PhoneBookFileRef& file : sets.back().files)
            fileIds.push_back(file.fileId);
    }
    if (fileIds.empty())
        return 0;
    PhoneBookFileRecords files;
    while (pos < size) {
        const uint16_t fileId = fileIds[data[pos++] % fileIds.size()];
        files[fileId].push_back(Take(data, size, pos));
    }

    const UsimPhoneBook book = AssemblePhoneBook(sets, files);
    unsigned last = 0;
    for (const UsimPhoneBookEntry& entry : book.entries) {
        if (!IsWellFormed(entry, sets.size()) || entry.entry <= last)
            __builtin_trap();
        last = entry.entry;
    }
    return 0;
}
