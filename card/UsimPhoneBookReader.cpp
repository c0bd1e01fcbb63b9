#include "UsimPhoneBookReader.h"

#include <utility>

#include "sim/ResultCodes.h"
#include "sim/SimFiles.h"
#include "sim/dialling/PhoneBookDecoder.h"
#include "sim/uicc/PhoneBookAssembler.h"
#include "sim/uicc/PhoneBookReference.h"

namespace {

constexpr uint16_t EfPbr = 0x4F30;

// The files an entry is built from; UID and CCP1 are not needed to read it.
bool NeedsReading(PhoneBookFileKind kind)
{
    return kind != PhoneBookFileKind::Uid && kind != PhoneBookFileKind::Ccp1;
}

// The records of a file for the assembler, taken out of it: what the file
// announced, a record not received left empty so that the numbers of those
// after it hold.
std::vector<std::vector<uint8_t>> TakeRecords(RawCardFile& file)
{
    std::vector<std::vector<uint8_t>> records = std::move(file.records);
    if (records.size() < file.recordCount)
        records.resize(file.recordCount);
    return records;
}

// Reads each file the sets name once; a file the card has no record
// structure for (absent, refused before its FCP, unusable) is left out.
LONG ReadSetFiles(UiccCommands& commands, const std::vector<PhoneBookSet>& sets, PhoneBookFileRecords& files,
                  UiccWalkLog& log)
{
    std::map<uint16_t, bool> tried;
    for (const PhoneBookSet& set : sets) {
        for (const PhoneBookFileRef& ref : set.files) {
            if (!set.used || !NeedsReading(ref.kind) || tried[ref.fileId])
                continue;
            tried[ref.fileId] = true;
            RawCardFile file;
            const LONG result = ReadUiccFile(commands, ref.fileId, 1, file, log);
            if (file.recordCount != 0)
                files[ref.fileId] = TakeRecords(file);
            if (result != sc::Success)
                return result;
        }
    }
    return sc::Success;
}

} // namespace

LONG ReadUsimPhoneBook(UiccCommands& commands, UsimPhoneBookContent& book, UiccWalkLog& log)
{
    RawCardFile pbr;
    LONG result = ReadUiccFile(commands, EfPbr, 1, pbr, log);
    book.state = pbr.state;
    book.fromPbr = true;
    std::vector<PhoneBookSet> sets;
    for (const std::vector<uint8_t>& record : pbr.records) {
        sets.push_back(DecodePhoneBookReference(record.data(), record.size()));
        book.setCount += sets.back().used;
    }
    PhoneBookFileRecords files;
    if (result == sc::Success)
        result = ReadSetFiles(commands, sets, files, log);
    book.book = AssemblePhoneBook(sets, files);
    return result;
}

LONG ReadTelecomPhoneBook(UiccCommands& commands, UsimPhoneBookContent& book, UiccWalkLog& log)
{
    book.fromPbr = false;
    const UiccAnswer selected = commands.SelectByPath({simfile::DfTelecom});
    if (selected.result != sc::Success)
        return selected.result;
    if (!selected.Ok()) {
        book.state = StateOfUiccAnswer(selected.statusWord);
        return sc::Success;
    }
    // One set of EF_ADN (type 1) and EF_EXT1 (type 3), as EF_PBR would name them.
    PhoneBookSet set;
    set.used = true;
    set.files.push_back({PhoneBookFileKind::Adn, PhoneBookLink::Type1, simfile::EfAdn, std::nullopt, 0});
    set.files.push_back({PhoneBookFileKind::Ext1, PhoneBookLink::Type3, simfile::EfExt1, std::nullopt, 0});
    PhoneBookFileRecords files;
    RawCardFile adn;
    LONG result = ReadUiccFile(commands, simfile::EfAdn, 1, adn, log);
    book.state = adn.state;
    const bool needsExtension = NeedsExtension(adn);
    if (adn.recordCount != 0)
        files[simfile::EfAdn] = TakeRecords(adn);
    if (result == sc::Success && needsExtension) {
        RawCardFile ext1;
        result = ReadUiccFile(commands, simfile::EfExt1, 1, ext1, log);
        if (ext1.recordCount != 0)
            files[simfile::EfExt1] = TakeRecords(ext1);
    }
    book.setCount = adn.state == FileState::Absent ? 0 : 1;
    book.book = AssemblePhoneBook({set}, files);
    return result;
}
