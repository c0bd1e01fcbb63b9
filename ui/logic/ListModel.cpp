#include "ListModel.h"

#include <algorithm>
#include <ctime>

#include "sim/AnsiText.h"

namespace {

// A list control holds zero-terminated texts.
std::u16string CellText(const std::u16string& text)
{
    return text.substr(0, text.find(u'\0'));
}

// The calendar time of a message, cut to 32 bits as the row's item data.
uint32_t TimestampItemData(const std::tm& timestamp)
{
    std::tm copy = timestamp; // mktime normalises its argument
    return static_cast<uint32_t>(static_cast<long long>(std::mktime(&copy)) & 0xFFFFFFFFLL);
}

char16_t FoldCase(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<char16_t>(c + 0x20);
    return c;
}

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

int CompareCodeUnits(const std::u16string& first, const std::u16string& second)
{
    return Sign(first.compare(second));
}

const std::u16string& TextAt(const ListRow& row, int32_t column)
{
    static const std::u16string none;
    if (column < 0 || static_cast<size_t>(column) >= row.texts.size())
        return none;
    return row.texts[static_cast<size_t>(column)];
}

} // namespace

std::u16string ListCaption(int32_t mode)
{
    switch (mode) {
    case ListModeAdn:
        return u"Phonebook (Abbreviated Dial Numbers)";
    case ListModeFdn:
        return u"Fixed Dialing Numbers (FDN)";
    default:
        return u"SMS Messages";
    }
}

std::vector<std::u16string> ListColumnTitles(int32_t mode)
{
    if (mode == ListModeSms)
        return {u"From", u"Date", u"Message"};
    return {u"Name", u"Number"};
}

std::vector<ListRow> PhoneBookRows(const DiallingNumberFile& file)
{
    std::vector<ListRow> rows;
    rows.reserve(file.Entries.size());
    for (const auto& [name, number] : file.Entries) {
        const uint32_t index = static_cast<uint32_t>(rows.size());
        rows.push_back(ListRow{{CellText(AnsiToWide(name)), CellText(AnsiToWide(number))}, index});
    }
    return rows;
}

std::vector<ListRow> SmsRows(const SmsFile& smsFile)
{
    std::vector<ListRow> rows;
    rows.reserve(smsFile.messages.size());
    for (const SmsMessage& message : smsFile.messages) {
        rows.push_back(ListRow{{CellText(message.sender), CellText(message.date), CellText(message.text)},
                               TimestampItemData(message.timestamp)});
    }
    return rows;
}

namespace {

// The letters a Latin-1 character sorts as when accents do not count:
// "\u00C5sa" sorts with "Asa", "\u00DF" as "ss". Hyphens and apostrophes
// carry no weight here, as in a word sort.
std::u16string BaseLetters(const std::u16string& text)
{
    // U+00C0 to U+00FF, lower case; '*' keeps the character itself.
    static const char* const latin1 = "aaaaaa*ceeeeiiiidnooooo*ouuuuy**"
                                      "aaaaaa*ceeeeiiiidnooooo*ouuuuy*y";
    std::u16string key;
    key.reserve(text.size());
    for (const char16_t c : text) {
        if (c == u'-' || c == u'\'')
            continue;
        if (c < 0xC0 || c > 0xFF) {
            key += FoldCase(c);
            continue;
        }
        switch (c) {
        case 0xC6: case 0xE6: key += u"ae"; break;
        case 0xDE: case 0xFE: key += u"th"; break;
        case 0xDF: key += u"ss"; break;
        default: {
            const char base = latin1[c - 0xC0];
            key += base == '*' ? c : static_cast<char16_t>(base);
        }
        }
    }
    return key;
}

int CompareFoldedCodeUnits(const std::u16string& first, const std::u16string& second)
{
    const size_t common = std::min(first.size(), second.size());
    for (size_t i = 0; i < common; ++i) {
        const char16_t a = FoldCase(first[i]);
        const char16_t b = FoldCase(second[i]);
        if (a != b)
            return a < b ? -1 : 1;
    }
    return Sign(static_cast<int>(first.size() > second.size()) - static_cast<int>(first.size() < second.size()));
}

} // namespace

int CompareInsertionText(const std::u16string& first, const std::u16string& second)
{
    const int byLetters = CompareFoldedCodeUnits(BaseLetters(first), BaseLetters(second));
    return byLetters != 0 ? byLetters : CompareFoldedCodeUnits(first, second);
}

std::vector<ListRow> DisplayedRows(const std::vector<ListRow>& insertedRows)
{
    std::vector<ListRow> rows;
    rows.reserve(insertedRows.size());
    for (const ListRow& row : insertedRows) {
        // After the last row that does not compare greater.
        const auto position = std::upper_bound(rows.begin(), rows.end(), row, [](const ListRow& a, const ListRow& b) {
            return CompareInsertionText(TextAt(a, 0), TextAt(b, 0)) < 0;
        });
        rows.insert(position, row);
    }
    return rows;
}

void ListSortState::OnHeaderClick(int32_t clickedColumn)
{
    column = clickedColumn;
    ascending = !ascending;
}

int CompareRows(const ListRow& first, const ListRow& second, int32_t mode, const ListSortState& sort)
{
    const ListRow& a = sort.ascending ? first : second;
    const ListRow& b = sort.ascending ? second : first;
    if (mode == ListModeSms && sort.column == 1) {
        if (a.itemData == b.itemData)
            return 0;
        return a.itemData > b.itemData ? 1 : -1;
    }
    return CompareCodeUnits(TextAt(a, sort.column), TextAt(b, sort.column));
}

void SortRows(std::vector<ListRow>& rows, int32_t mode, const ListSortState& sort)
{
    std::stable_sort(rows.begin(), rows.end(), [&](const ListRow& a, const ListRow& b) {
        return CompareRows(a, b, mode, sort) < 0;
    });
}
