#include "FullCardReader.h"

#include <map>

#include "RawFileReader.h"
#include "sim/ResultCodes.h"
#include "sim/SimFiles.h"
#include "sim/full/DiallingRecord.h"
#include "sim/full/FullSimFiles.h"
#include "sim/full/PhoneBookDecoder.h"
#include "sim/full/SmsMessages.h"

namespace {

// An extension record: type, length, ten data bytes, next identifier.
constexpr uint8_t ExtensionRecordLength = 13;
// An SMS record: the status byte and at least the service-centre length.
constexpr uint8_t SmsMinimumRecordLength = 2;

// A dialling-number file, the extension file its records continue in, and
// where its decoded records go.
struct PhoneBookFile {
    uint16_t fileId;
    uint16_t extensionId;
    PhoneBook FullCardContent::*book;
};

constexpr PhoneBookFile PhoneBookFiles[] = {
    {simfile::EfAdn, fullfile::EfExt1, &FullCardContent::adn},
    {simfile::EfFdn, fullfile::EfExt2, &FullCardContent::fdn},
    {fullfile::EfMsisdn, fullfile::EfExt1, &FullCardContent::msisdn},
    {fullfile::EfSdn, fullfile::EfExt3, &FullCardContent::sdn},
    {fullfile::EfLnd, fullfile::EfExt1, &FullCardContent::lnd},
};

// Reads every phone book and each extension file one of them refers to
// (once), then decodes what was read, also when a transport error stopped
// the reading (returned).
LONG ReadPhoneBooks(CCardReader& reader, FullCardContent& content)
{
    std::map<uint16_t, RawCardFile> books;
    std::map<uint16_t, RawCardFile> extensions;
    for (const PhoneBookFile& file : PhoneBookFiles)
        books[file.fileId].fileId = file.fileId;
    LONG result = sc::Success;
    for (const PhoneBookFile& file : PhoneBookFiles) {
        RawCardFile& raw = books[file.fileId];
        result = ReadRawRecordFile(reader, simfile::DfTelecom, file.fileId, DiallingRecordTailLength, raw);
        if (result == sc::Success && NeedsExtension(raw) && !extensions.count(file.extensionId))
            result = ReadRawRecordFile(reader, simfile::DfTelecom, file.extensionId, ExtensionRecordLength,
                                       extensions[file.extensionId]);
        if (result != sc::Success)
            break;
    }
    for (const PhoneBookFile& file : PhoneBookFiles) {
        const auto extension = extensions.find(file.extensionId);
        const bool extensionTried = extension != extensions.end();
        PhoneBook& book = content.*file.book;
        book = DecodePhoneBook(books[file.fileId], extensionTried ? &extension->second : nullptr);
        book.extensionState = extensionTried ? extension->second.state : FileState::NotRead;
    }
    return result;
}

LONG ReadServiceProviderName(CCardReader& reader, FullCardContent& content)
{
    RawCardFile raw;
    const LONG result = ReadRawTransparentFile(reader, simfile::DfGsm, fullfile::EfSpn, raw);
    content.spnState = raw.state;
    ServiceProviderName spn;
    if (!raw.records.empty() && DecodeServiceProviderName(raw.records[0].data(), raw.records[0].size(), spn))
        content.spn = spn;
    return result;
}

// EF_SMS, every record: free ones too, as they may still hold a message.
LONG ReadMessages(CCardReader& reader, FullCardContent& content)
{
    RawCardFile raw;
    const LONG result = ReadRawRecordFile(reader, simfile::DfTelecom, simfile::EfSms, SmsMinimumRecordLength, raw);
    content.sms = DecodeSmsFile(raw);
    return result;
}

} // namespace

LONG ReadFullCard(CCardReader& reader, FullCardContent& content)
{
    reader.BeginTransaction(); // as the dialog's read: it runs whether or not granted
    LONG result = ReadPhoneBooks(reader, content);
    if (result == sc::Success)
        result = ReadServiceProviderName(reader, content);
    if (result == sc::Success)
        result = ReadMessages(reader, content);
    reader.EndTransaction();
    return result;
}
