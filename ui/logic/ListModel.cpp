#include "ListModel.h"

#include <algorithm>
#include <ctime>
#include <utility>

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

std::u16string Folded(const std::u16string& text)
{
    std::u16string folded(text);
    for (char16_t& c : folded)
        c = FoldCase(c);
    return folded;
}

// What a first column sorts by on insertion: its base letters, then its code
// units, both case-folded. Computed once per row, not in every comparison.
struct InsertionKey {
    std::u16string letters;
    std::u16string codeUnits;
};

InsertionKey InsertionKeyOf(const std::u16string& text)
{
    return InsertionKey{Folded(BaseLetters(text)), Folded(text)};
}

// Folded texts compare code unit by code unit (unsigned), a prefix first.
int CompareKeys(const InsertionKey& first, const InsertionKey& second)
{
    const int byLetters = Sign(first.letters.compare(second.letters));
    return byLetters != 0 ? byLetters : Sign(first.codeUnits.compare(second.codeUnits));
}

} // namespace

int CompareInsertionText(const std::u16string& first, const std::u16string& second)
{
    return CompareKeys(InsertionKeyOf(first), InsertionKeyOf(second));
}

std::vector<ListRow> DisplayedRows(std::vector<ListRow> insertedRows)
{
    std::vector<InsertionKey> keys;
    keys.reserve(insertedRows.size());
    for (const ListRow& row : insertedRows)
        keys.push_back(InsertionKeyOf(TextAt(row, 0)));
    // Each row goes after every row that does not compare greater: a stable
    // sort by the keys gives the same order.
    std::vector<size_t> order(insertedRows.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&keys](size_t a, size_t b) { return CompareKeys(keys[a], keys[b]) < 0; });
    std::vector<ListRow> rows;
    rows.reserve(insertedRows.size());
    for (const size_t index : order)
        rows.push_back(std::move(insertedRows[index]));
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
