#include "FullExport.h"

#include <algorithm>

#include "Csv.h"
#include "SmsCsv.h"
#include "UsimContactsCsv.h"
#include "VCard.h"
#include "ui/logic/ExportWriter.h"

namespace {

void AppendRows(std::string& csv, const char* bookName, const PhoneBook& book)
{
    for (const PhoneBookRecord& record : book.records)
        csv += CsvRow({bookName, std::to_string(record.record), record.name, record.number});
}

// Why `state` leaves card file `name` not read whole, or empty.
std::string NotWhole(FileState state, const std::string& name)
{
    switch (state) {
    case FileState::Read:
    case FileState::Absent: // nothing more to read: the card has no such file
        return {};
    case FileState::Refused:
        return "the card refused to read " + name;
    case FileState::Incomplete:
        return "the card stopped answering part of the way through " + name;
    case FileState::Unusable:
        return "the header of " + name + " describes no file that can be read";
    default:
        return "the read stopped before " + name + " was read whole";
    }
}

std::string NotWhole(const PhoneBook& book, const std::string& name, const std::string& extensionName)
{
    if (std::string reason = NotWhole(book.state, name); !reason.empty())
        return reason;
    const bool continues = std::any_of(book.records.begin(), book.records.end(), [](const PhoneBookRecord& record) {
        return record.extension.state != ExtensionState::None;
    });
    if (!continues)
        return {};
    if (std::string reason = NotWhole(book.extensionState, extensionName); !reason.empty())
        return reason + " (numbers of " + name + " continue there)";
    return {};
}

std::string FirstOf(const std::string& reason, const std::string& other)
{
    return reason.empty() ? other : reason;
}

std::string NotWhole(const UiccContent& uicc)
{
    const std::string global = NotWhole(uicc.globalPhoneBook.state, "the global phone book");
    return FirstOf(global, uicc.HasLocalPhoneBook() ? NotWhole(uicc.localPhoneBook.state, "the local phone book") : "");
}

// On a UICC the USIM's own files stand for the GSM view's copies of them.
const PhoneBook& Fdn(const CardContent& content)
{
    return content.uicc && content.uicc->usimSelected ? content.uicc->fdn : content.fdn;
}

const SmsMessages& Sms(const CardContent& content)
{
    return content.uicc && content.uicc->usimSelected ? content.uicc->sms : content.sms;
}

} // namespace

std::string ContactsVcf(const CardContent& content)
{
    if (!content.uicc)
        return PhoneBookVCards(content.adn);
    return UsimPhoneBookVCards(content.uicc->globalPhoneBook.book) +
           UsimPhoneBookVCards(content.uicc->localPhoneBook.book);
}

std::string ContactsCsv(const CardContent& content)
{
    if (content.uicc)
        return UsimContactsCsv(*content.uicc, Fdn(content));
    std::string csv = CsvRow({"phoneBook", "record", "name", "number"});
    AppendRows(csv, "ADN", content.adn);
    AppendRows(csv, "FDN", content.fdn);
    return csv;
}

std::vector<FullExportFile> FullExportFiles(const CardContent& content)
{
    const std::string contacts =
        content.uicc ? NotWhole(*content.uicc) : NotWhole(content.adn, "EF_ADN", "EF_EXT1");
    const std::string fdn = NotWhole(Fdn(content), "EF_FDN", "EF_EXT2");
    return {
        {"contacts.vcf", ContactsVcf(content), contacts},
        {"contacts.csv", ContactsCsv(content), FirstOf(contacts, fdn)},
        {"sms.csv", SmsCsv(Sms(content)), NotWhole(Sms(content).state, "EF_SMS")},
    };
}

bool ExportFull(const std::filesystem::path& dir, const CardContent& content, IMainView& view,
                std::FILE* notes)
{
    std::error_code error;
    std::filesystem::create_directories(dir, error); // a failure shows as the open failing
    bool allWritten = true;
    for (const FullExportFile& file : FullExportFiles(content)) {
        const std::filesystem::path target = dir / file.name;
        if (!file.notWhole.empty()) {
            const bool kept = std::filesystem::exists(target, error);
            std::fprintf(notes, "velmora-cli: %s %s: %s\n", file.name, kept ? "left as it was" : "not written",
                         file.notWhole.c_str());
            continue;
        }
        if (const auto message = ExportResultMessage(WriteExportFile(target, file.bytes))) {
            view.ShowMessage(message->text, message->caption, message->type);
            allWritten = false;
        }
    }
    return allWritten;
}
