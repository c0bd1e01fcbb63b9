#include "VCard.h"

#include <string_view>

namespace {

constexpr size_t MaxLineOctets = 75;

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// TEL holds a phone-number value, not text: it is written as is. A decoded
// number holds only + 0-9 * # , ? and E, none of which that value escapes (a
// pause stays a plain comma); anything else is left out, so that no value
// can end the line.
std::string PhoneNumberValue(const std::string& number)
{
    std::string value;
    for (char c : number) {
        if (std::string_view("+0123456789*#,?E").find(c) != std::string_view::npos)
            value += c;
    }
    return value;
}

std::string CardStart(const std::string& name, const std::string& otherwise)
{
    return FoldVCardLine("BEGIN:VCARD") + FoldVCardLine("VERSION:3.0") +
           FoldVCardLine("FN:" + (name.empty() ? otherwise : name)) + FoldVCardLine("N:;" + name + ";;;");
}

std::string Card(const PhoneBookRecord& record)
{
    const std::string number = PhoneNumberValue(record.number);
    std::string card = CardStart(VCardText(record.name), VCardText(record.number));
    if (!number.empty())
        card += FoldVCardLine("TEL:" + number);
    return card + FoldVCardLine("END:VCARD");
}

// A parameter value: as it is when it holds none of the characters a
// parameter cannot hold unquoted, else quoted (a quoted value cannot hold a
// double quote: it becomes an apostrophe). Control characters become spaces.
std::string ParameterValue(const std::string& label)
{
    std::string value;
    bool quote = false;
    for (char c : label) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
        else if (c == '"')
            c = '\'';
        quote = quote || c == ',' || c == ';' || c == ':';
        value += c;
    }
    return quote ? '"' + value + '"' : value;
}

// The first of the entry's values that can name it when it has no name.
std::string StandIn(const UsimPhoneBookEntry& entry)
{
    if (!entry.number.empty())
        return VCardText(entry.number);
    for (const AdditionalNumber& number : entry.additionalNumbers) {
        if (!number.number.empty())
            return VCardText(number.number);
    }
    return entry.emails.empty() ? std::string() : VCardText(entry.emails.front());
}

std::string Card(const UsimPhoneBookEntry& entry)
{
    std::string card = CardStart(VCardText(entry.name), StandIn(entry));
    if (!entry.secondName.empty())
        card += FoldVCardLine("NICKNAME:" + VCardText(entry.secondName));
    if (const std::string number = PhoneNumberValue(entry.number); !number.empty())
        card += FoldVCardLine("TEL:" + number);
    for (const AdditionalNumber& additional : entry.additionalNumbers) {
        const std::string number = PhoneNumberValue(additional.number);
        const std::string type = ParameterValue(additional.label);
        if (!number.empty())
            card += FoldVCardLine("TEL" + (type.empty() ? "" : ";TYPE=" + type) + ":" + number);
    }
    for (const std::string& email : entry.emails) {
        if (!email.empty())
            card += FoldVCardLine("EMAIL;TYPE=INTERNET:" + VCardText(email));
    }
    std::string categories;
    for (const std::string& group : entry.groups) {
        if (!group.empty())
            categories += (categories.empty() ? "" : ",") + VCardText(group);
    }
    if (!categories.empty())
        card += FoldVCardLine("CATEGORIES:" + categories);
    if (entry.hidden)
        card += FoldVCardLine("CLASS:PRIVATE");
    return card + FoldVCardLine("END:VCARD");
}

} // namespace

std::string VCardText(const std::string& utf8)
{
    std::string text;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\\' || c == ',' || c == ';') {
            text += '\\';
            text += c;
        } else if (c == '\r' || c == '\n') {
            text += "\\n";
            if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')
                ++i; // CR LF is one line end
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            text += ' ';
        } else {
            text += c;
        }
    }
    return text;
}

std::string FoldVCardLine(const std::string& line)
{
    std::string folded;
    size_t octets = 0; // on the current physical line
    for (size_t i = 0; i < line.size();) {
        size_t length = 1;
        while (length < 4 && i + length < line.size() && IsContinuationByte(line[i + length]))
            ++length;
        if (octets + length > MaxLineOctets) {
            folded += "\r\n ";
            octets = 1;
        }
        folded.append(line, i, length);
        octets += length;
        i += length;
    }
    return folded + "\r\n";
}

std::string PhoneBookVCards(const PhoneBook& book)
{
    std::string cards;
    for (const PhoneBookRecord& record : book.records)
        cards += Card(record);
    return cards;
}

std::string UsimPhoneBookVCards(const UsimPhoneBook& book)
{
    std::string cards;
    for (const UsimPhoneBookEntry& entry : book.entries)
        cards += Card(entry);
    return cards;
}
