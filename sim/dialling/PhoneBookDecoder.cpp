#include "sim/dialling/PhoneBookDecoder.h"

#include "sim/dialling/DiallingDigits.h"
#include "sim/dialling/DiallingRecord.h"

namespace {

const std::vector<std::vector<uint8_t>> NoRecords;

size_t AlphaLengthOf(const RawCardFile& file)
{
    return file.recordLength >= DiallingRecordTailLength ? file.recordLength - DiallingRecordTailLength : 0;
}

} // namespace

PhoneBook DecodePhoneBook(const RawCardFile& file, const RawCardFile* extension)
{
    PhoneBook book;
    book.fileId = file.fileId;
    book.state = file.state;
    book.recordLength = file.recordLength;
    book.recordCount = file.recordCount;
    const auto& extensionRecords = extension ? extension->records : NoRecords;
    const size_t alphaLength = AlphaLengthOf(file);
    book.records.reserve(file.records.size());
    for (size_t i = 0; i < file.records.size(); ++i) {
        const std::vector<uint8_t>& raw = file.records[i];
        DiallingRecordFields fields;
        if (!DecodeDiallingRecordFields(raw.data(), raw.size(), alphaLength, fields))
            continue;
        PhoneBookRecord& record = book.records.emplace_back();
        record.record = static_cast<unsigned>(i + 1);
        record.name = std::move(fields.name.text);
        record.nameCoding = fields.name.coding;
        record.tonNpi = fields.tonNpi;
        record.capabilityId = fields.capabilityId;
        record.extension = FollowExtensionChain(fields.extensionId, extensionRecords);
        record.number = DiallingNumberText(fields.tonNpi, fields.digits + record.extension.digits);
    }
    return book;
}

bool NeedsExtension(const RawCardFile& file)
{
    const size_t alphaLength = AlphaLengthOf(file);
    for (const std::vector<uint8_t>& raw : file.records) {
        // Only a record that names an extension is decoded, to see whether it is used.
        DiallingRecordFields fields;
        if (ExtensionIdOf(raw.data(), raw.size(), alphaLength) != NoRecordId &&
            DecodeDiallingRecordFields(raw.data(), raw.size(), alphaLength, fields))
            return true;
    }
    return false;
}
