#include "FullExport.h"

#include <utility>

#include "Csv.h"
#include "SmsCsv.h"
#include "VCard.h"
#include "ui/logic/ExportWriter.h"

namespace {

void AppendRows(std::string& csv, const char* bookName, const PhoneBook& book)
{
    for (const PhoneBookRecord& record : book.records)
        csv += CsvRow({bookName, std::to_string(record.record), record.name, record.number});
}

} // namespace

std::string ContactsVcf(const FullCardContent& content)
{
    return PhoneBookVCards(content.adn);
}

std::string ContactsCsv(const FullCardContent& content)
{
    std::string csv = CsvRow({"phoneBook", "record", "name", "number"});
    AppendRows(csv, "ADN", content.adn);
    AppendRows(csv, "FDN", content.fdn);
    return csv;
}

bool ExportFull(const std::filesystem::path& dir, const FullCardContent& content, IMainView& view)
{
    std::error_code error;
    std::filesystem::create_directories(dir, error); // a failure shows as the open failing
    const std::pair<const char*, std::string> files[] = {
        {"contacts.vcf", ContactsVcf(content)},
        {"contacts.csv", ContactsCsv(content)},
        {"sms.csv", SmsCsv(content.sms)},
    };
    bool allWritten = true;
    for (const auto& [name, bytes] : files) {
        if (const auto message = ExportResultMessage(WriteExportFile(dir / name, bytes))) {
            view.ShowMessage(message->text, message->caption, message->type);
            allWritten = false;
        }
    }
    return allWritten;
}
