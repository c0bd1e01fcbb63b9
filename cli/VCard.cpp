#include "VCard.h"

namespace {

constexpr size_t MaxLineOctets = 75;

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string Card(const PhoneBookRecord& record)
{
    const std::string name = VCardText(record.name);
    std::string card = FoldVCardLine("BEGIN:VCARD") + FoldVCardLine("VERSION:3.0");
    card += FoldVCardLine("FN:" + (name.empty() ? VCardText(record.number) : name));
    card += FoldVCardLine("N:;" + name + ";;;");
    // TEL holds a phone-number value, not text: it is written as is. The
    // decoded number holds only + 0-9 * # , ? and E, none of which that
    // value escapes (a pause stays a plain comma).
    if (!record.number.empty())
        card += FoldVCardLine("TEL:" + record.number);
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
