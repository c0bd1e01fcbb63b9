#include "CardContentReader.h"

#include <map>

#include "RawFileReader.h"
#include "sim/ResultCodes.h"
#include "sim/SimFiles.h"
#include "sim/dialling/DiallingRecord.h"
#include "sim/dialling/PhoneBookDecoder.h"
#include "sim/sms/SmsMessages.h"

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
    PhoneBook CardContent::*book;
};

constexpr PhoneBookFile PhoneBookFiles[] = {
    {simfile::EfAdn, simfile::EfExt1, &CardContent::adn},
    {simfile::EfFdn, simfile::EfExt2, &CardContent::fdn},
    {simfile::EfMsisdn, simfile::EfExt1, &CardContent::msisdn},
    {simfile::EfSdn, simfile::EfExt3, &CardContent::sdn},
    {simfile::EfLnd, simfile::EfExt1, &CardContent::lnd},
};

// Reads every phone book and each extension file one of them refers to
// (once), then decodes what was read, also when a transport error stopped
// the reading (returned).
LONG ReadPhoneBooks(CardWalk& walk, ReceivedFiles& received, CardContent& content)
{
    std::map<uint16_t, RawCardFile> books;
    std::map<uint16_t, RawCardFile> extensions;
    for (const PhoneBookFile& file : PhoneBookFiles)
        books[file.fileId].fileId = file.fileId;
    LONG result = sc::Success;
    for (const PhoneBookFile& file : PhoneBookFiles) {
        RawCardFile& raw = books[file.fileId];
        result = ReadRawRecordFile(walk, simfile::DfTelecom, file.fileId, DiallingRecordTailLength,
                                   received.Find(simfile::DfTelecom, file.fileId), raw);
        if (result == sc::Success && NeedsExtension(raw) && !extensions.count(file.extensionId))
            result = ReadRawRecordFile(walk, simfile::DfTelecom, file.extensionId, ExtensionRecordLength,
                                       received.Find(simfile::DfTelecom, file.extensionId),
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

LONG ReadServiceProviderName(CardWalk& walk, CardContent& content)
{
    RawCardFile raw;
    const LONG result = ReadRawTransparentFile(walk, simfile::DfGsm, simfile::EfSpn, raw);
    content.spnState = raw.state;
    ServiceProviderName spn;
    if (!raw.records.empty() && DecodeServiceProviderName(raw.records[0].data(), raw.records[0].size(), spn))
        content.spn = spn;
    return result;
}

// EF_SMS, every record: free ones too, as they may still hold a message.
LONG ReadMessages(CardWalk& walk, ReceivedFiles& received, CardContent& content)
{
    RawCardFile raw;
    const LONG result = ReadRawRecordFile(walk, simfile::DfTelecom, simfile::EfSms, SmsMinimumRecordLength,
                                          received.Find(simfile::DfTelecom, simfile::EfSms), raw);
    content.sms = DecodeSmsFile(raw);
    return result;
}

} // namespace

LONG ReadCardContent(CCardReader& reader, ReceivedFiles& received, CardContent& content)
{
    reader.BeginTransaction(); // as the dialog's read: it runs whether or not granted
    // Everything under DF_TELECOM first, then DF_GSM beside it: each
    // directory is selected once.
    CardWalk walk(reader);
    LONG result = ReadPhoneBooks(walk, received, content);
    if (result == sc::Success)
        result = ReadMessages(walk, received, content);
    if (result == sc::Success)
        result = ReadServiceProviderName(walk, content);
    reader.EndTransaction();
    return result;
}
