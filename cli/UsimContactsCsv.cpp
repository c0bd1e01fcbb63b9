#include "UsimContactsCsv.h"

#include <algorithm>

#include "Csv.h"

namespace {

struct Widths {
    size_t numbers = 1, emails = 1, groups = 1;
};

void Widen(Widths& widths, const UsimPhoneBook& book)
{
    for (const UsimPhoneBookEntry& entry : book.entries) {
        widths.numbers = std::max(widths.numbers, entry.additionalNumbers.size());
        widths.emails = std::max(widths.emails, entry.emails.size());
        widths.groups = std::max(widths.groups, entry.groups.size());
    }
}

std::vector<std::string> Header(const Widths& widths)
{
    std::vector<std::string> fields = {"phoneBook", "record", "name", "number", "entry", "set", "secondName", "hidden"};
    for (size_t i = 1; i <= widths.numbers; ++i) {
        fields.push_back("additionalNumber" + std::to_string(i));
        fields.push_back("additionalNumberLabel" + std::to_string(i));
    }
    for (size_t i = 1; i <= widths.emails; ++i)
        fields.push_back("email" + std::to_string(i));
    for (size_t i = 1; i <= widths.groups; ++i)
        fields.push_back("group" + std::to_string(i));
    return fields;
}

std::string Row(const char* scope, const UsimPhoneBookEntry& entry, const Widths& widths)
{
    std::vector<std::string> fields = {scope,
                                       std::to_string(entry.record),
                                       entry.name,
                                       entry.number,
                                       std::to_string(entry.entry),
                                       std::to_string(entry.set),
                                       entry.secondName,
                                       entry.hidden ? "yes" : "no"};
    for (size_t i = 0; i < widths.numbers; ++i) {
        const bool has = i < entry.additionalNumbers.size();
        fields.push_back(has ? entry.additionalNumbers[i].number : "");
        fields.push_back(has ? entry.additionalNumbers[i].label : "");
    }
    for (size_t i = 0; i < widths.emails; ++i)
        fields.push_back(i < entry.emails.size() ? entry.emails[i] : "");
    for (size_t i = 0; i < widths.groups; ++i)
        fields.push_back(i < entry.groups.size() ? entry.groups[i] : "");
    return CsvRow(fields);
}

} // namespace

std::string UsimContactsCsv(const UiccContent& uicc, const PhoneBook& fdn)
{
    const std::pair<const char*, const UsimPhoneBook*> books[] = {{"global", &uicc.globalPhoneBook.book},
                                                                  {"local", &uicc.localPhoneBook.book}};
    Widths widths;
    for (const auto& [scope, book] : books)
        Widen(widths, *book);
    const std::vector<std::string> header = Header(widths);
    std::string csv = CsvRow(header);
    for (const auto& [scope, book] : books) {
        for (const UsimPhoneBookEntry& entry : book->entries)
            csv += Row(scope, entry, widths);
    }
    for (const PhoneBookRecord& record : fdn.records) {
        std::vector<std::string> fields(header.size());
        fields[0] = "FDN";
        fields[1] = std::to_string(record.record);
        fields[2] = record.name;
        fields[3] = record.number;
        csv += CsvRow(fields);
    }
    return csv;
}
