// The list window's captions, columns, rows, insertion order and sorting.
#include <gtest/gtest.h>

#include "tests/ScopedTimeZone.h"
#include "ui/logic/ListModel.h"

namespace {

using Texts = std::vector<std::u16string>;

SmsMessage Message(const char16_t* sender, const char16_t* date, const char16_t* text, int year, int month,
                   int day)
{
    SmsMessage message;
    message.sender = sender;
    message.date = date;
    message.text = text;
    message.timestamp.tm_year = year - 1900;
    message.timestamp.tm_mon = month - 1;
    message.timestamp.tm_mday = day;
    return message;
}

Texts Column(const std::vector<ListRow>& rows, size_t column)
{
    Texts texts;
    for (const ListRow& row : rows)
        texts.push_back(row.texts.at(column));
    return texts;
}

TEST(ListModel, CaptionsAndColumnsPerMode)
{
    EXPECT_EQ(ListCaption(ListModeAdn), u"Phonebook (Abbreviated Dial Numbers)");
    EXPECT_EQ(ListCaption(ListModeFdn), u"Fixed Dialing Numbers (FDN)");
    EXPECT_EQ(ListCaption(ListModeSms), u"SMS Messages");
    EXPECT_EQ(ListColumnTitles(ListModeAdn), (Texts{u"Name", u"Number"}));
    EXPECT_EQ(ListColumnTitles(ListModeFdn), (Texts{u"Name", u"Number"}));
    EXPECT_EQ(ListColumnTitles(ListModeSms), (Texts{u"From", u"Date", u"Message"}));
}

TEST(ListModel, PhoneBookRowsInFileOrderWithTheirIndexAsItemData)
{
    DiallingNumberFile file;
    file.Entries = {{"Zed", "+4411"}, {"Anna", ""}, {"\xC9lise", "123"}};

    const std::vector<ListRow> rows = PhoneBookRows(file);

    EXPECT_EQ(rows, (std::vector<ListRow>{{{u"Anna", u""}, 0}, {{u"Zed", u"+4411"}, 1}, {{u"\u00C9lise", u"123"}, 2}}));
}

TEST(ListModel, SmsRowsCarryTheTimeStampAsItemData)
{
    // Time stamps are local times; the expected values are those of UTC.
    const ScopedTimeZone utc("UTC0");
    SmsFile file;
    file.messages = {Message(u"+4477", u"Thu Jan 01 00:00:10 1970", u"a", 1970, 1, 1),
                     Message(u"123", u"Tue Mar 05 00:00:00 2024", u"b\u0000hidden", 2024, 3, 5),
                     // After 2038 the calendar time no longer fits 31 bits.
                     Message(u"9", u"Sat Jan 01 00:00:00 2050", u"c", 2050, 1, 1)};
    file.messages[0].timestamp.tm_sec = 10;

    const std::vector<ListRow> rows = SmsRows(file);

    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (ListRow{{u"+4477", u"Thu Jan 01 00:00:10 1970", u"a"}, 10u}));
    EXPECT_EQ(rows[1].itemData, 1709596800u);
    EXPECT_EQ(rows[1].texts[2], u"b") << "a list control keeps the text up to its first NUL";
    if (sizeof(std::time_t) == 8) {
        EXPECT_EQ(rows[2].itemData, static_cast<uint32_t>(2524608000LL & 0xFFFFFFFF));
    }
}

TEST(ListModel, InsertionKeepsRowsSortedByFirstColumnIgnoringCase)
{
    const std::vector<ListRow> inserted = {{{u"bob", u"1"}, 0},   {{u"Alice", u"2"}, 1}, {{u"BOB", u"3"}, 2},
                                           {{u"alice", u"4"}, 3}, {{u"\u00E9mile", u"5"}, 4},
                                           {{u"\u00C9mile", u"6"}, 5}, {{u"Zoe", u"7"}, 6}, {{u"", u"8"}, 7}};

    const std::vector<ListRow> rows = DisplayedRows(inserted);

    // Accents do not count first, and equal texts keep the order they were inserted in.
    EXPECT_EQ(Column(rows, 1), (Texts{u"8", u"2", u"4", u"1", u"3", u"5", u"6", u"7"}));
}

TEST(ListModel, CompareInsertionText)
{
    struct Case {
        std::u16string a, b;
        int expected;
    };
    for (const Case& c : std::vector<Case>{{u"abc", u"ABC", 0},
                                           {u"abc", u"abd", -1},
                                           {u"ab", u"abc", -1},
                                           {u"b", u"A", 1},
                                           {u"\u00D7", u"\u00F7", -1}, // the multiplication sign is no letter
                                           {u"[", u"a", -1},           // '[' sorts before letters folded to lower case
                                           {u"", u"", 0},
                                           {u"\u00C5sa", u"Bj\u00F6rn", -1},        // A ring sorts as A
                                           {u"S\u00F8ren", u"Stra\u00DFen", -1},    // o stroke as o, before t
                                           {u"Stra\u00DFe", u"Strasse", 1},          // sharp s as ss, then by code unit
                                           {u"\u00C6sop", u"Aeson", 1},              // AE as ae: "aesop" after "aeson"
                                           {u"co-op", u"cook", 1},                   // the hyphen does not count: "coop"
                                           {u"\u00E9mile", u"Emile", 1},             // same letters: the accent decides
                                           {u"\u00E9mile", u"Zoe", -1}}) {
        EXPECT_EQ(CompareInsertionText(c.a, c.b), c.expected) << "comparing entries " << c.a.size() << "/" << c.b.size();
    }
}

TEST(ListSortState, EachClickFlipsTheDirection)
{
    ListSortState sort;
    EXPECT_TRUE(sort.ascending);
    sort.OnHeaderClick(1);
    EXPECT_FALSE(sort.ascending);
    EXPECT_EQ(sort.column, 1);
    sort.OnHeaderClick(1);
    EXPECT_TRUE(sort.ascending);
    sort.OnHeaderClick(0); // another column does not start afresh
    EXPECT_FALSE(sort.ascending);
    EXPECT_EQ(sort.column, 0);
}

struct SortCase {
    const char* name;
    int32_t mode;
    int32_t column;
    bool ascending;
    Texts firstColumnAfter;
};

class SortRowsTest : public ::testing::TestWithParam<SortCase> {};

TEST_P(SortRowsTest, OrdersTheRows)
{
    const SortCase& c = GetParam();
    std::vector<ListRow> rows;
    if (c.mode == ListModeSms) {
        // Date texts in an order opposite to their time stamps.
        rows = {{{u"222", u"Wed Jan 01", u"beta"}, 300u},
                {{u"111", u"Fri Jan 03", u"alpha"}, 100u},
                {{u"333", u"Thu Jan 02", u"Gamma"}, 0xF0000000u}, // above 2^31: compared unsigned
                {{u"444", u"Sat Jan 04", u"alpha"}, 200u}};
    } else {
        rows = {{{u"bob", u"+44"}, 0}, {{u"Anna", u"0123"}, 1}, {{u"carl", u"999"}, 2}, {{u"Dave", u"+1"}, 3}};
    }
    SortRows(rows, c.mode, ListSortState{c.ascending, c.column});
    EXPECT_EQ(Column(rows, 0), c.firstColumnAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SortRowsTest,
    ::testing::Values(
        // Header sorts compare code units: upper case before lower case.
        SortCase{"NameAscending", ListModeAdn, 0, true, {u"Anna", u"Dave", u"bob", u"carl"}},
        SortCase{"NameDescending", ListModeAdn, 0, false, {u"carl", u"bob", u"Dave", u"Anna"}},
        SortCase{"NumberAscending", ListModeFdn, 1, true, {u"Dave", u"bob", u"Anna", u"carl"}},
        SortCase{"NumberDescending", ListModeFdn, 1, false, {u"carl", u"Anna", u"bob", u"Dave"}},
        SortCase{"DateByTimeStampAscending", ListModeSms, 1, true, {u"111", u"444", u"222", u"333"}},
        SortCase{"DateByTimeStampDescending", ListModeSms, 1, false, {u"333", u"222", u"444", u"111"}},
        SortCase{"FromAscending", ListModeSms, 0, true, {u"111", u"222", u"333", u"444"}},
        // Equal texts keep their order, in both directions.
        SortCase{"MessageAscending", ListModeSms, 2, true, {u"333", u"111", u"444", u"222"}},
        SortCase{"MessageDescending", ListModeSms, 2, false, {u"222", u"111", u"444", u"333"}},
        // The date column is only special in the SMS list.
        SortCase{"SecondColumnOfThePhoneBookIsText", ListModeAdn, 1, true, {u"Dave", u"bob", u"Anna", u"carl"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CompareRows, SignsAndEqualTimeStamps)
{
    const ListRow a{{u"1", u"x", u"m"}, 5};
    const ListRow b{{u"2", u"y", u"m"}, 5};
    const ListRow later{{u"3", u"a", u"m"}, 6};
    EXPECT_EQ(CompareRows(a, b, ListModeSms, {true, 1}), 0);
    EXPECT_EQ(CompareRows(a, later, ListModeSms, {true, 1}), -1);
    EXPECT_EQ(CompareRows(later, a, ListModeSms, {true, 1}), 1);
    EXPECT_EQ(CompareRows(a, later, ListModeSms, {false, 1}), 1);
    // Other columns compare each row's own text, also when the time stamps
    // are equal.
    EXPECT_LT(CompareRows(a, b, ListModeSms, {true, 0}), 0);
    EXPECT_GT(CompareRows(a, b, ListModeSms, {false, 0}), 0);
    EXPECT_EQ(CompareRows(a, b, ListModeSms, {true, 2}), 0);
    // A column a row lacks compares as empty text.
    EXPECT_LT(CompareRows(ListRow{{u"a"}, 0}, ListRow{{u"a", u"b"}, 0}, ListModeAdn, {true, 1}), 0);
}

} // namespace
