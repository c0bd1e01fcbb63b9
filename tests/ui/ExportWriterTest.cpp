// The export file: its bytes against golden files, and its message boxes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ui/logic/ExportWriter.h"

namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::u16string>>;

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Golden(const char* name)
{
    const fs::path path = fs::path(VELMORA_UI_GOLDEN_DIR) / name;
    EXPECT_TRUE(fs::exists(path)) << path;
    return ReadBytes(path);
}

const Rows PhoneBook = {{u"Anna", u"+4412"}, {u"Bob", u"0123"}, {u"A very long name here", u"999"}, {u"\u00C9lise", u""}};

const Rows Messages = {
    {u"+44770090055", u"Tue Mar 05 14:30:00 2024", u"Caf\u00E9 at 5\U0001F600 Costs 3\u20AC \u00A3"},
    {u"1234567890123456789012345678901", u"Fri Dec 31 23:59:58 1999", u"Say \"hi\""},
    {u"", u"", u""}};

TEST(FormatExport, PhoneBookPadsAndCutsNamesToTheAlphaLength)
{
    EXPECT_EQ(FormatExport(ListModeAdn, PhoneBook, true, 14), Golden("PhoneBook.txt"));
}

TEST(FormatExport, DescendingPhoneBookIsWrittenFromTheBottomUp)
{
    EXPECT_EQ(FormatExport(ListModeFdn, PhoneBook, false, 14), Golden("PhoneBook-descending.txt"));
}

TEST(FormatExport, SmsFollowsTheDisplayedRowsWhateverTheDirection)
{
    EXPECT_EQ(FormatExport(ListModeSms, Messages, true, 0), Golden("SMS.txt"));
    EXPECT_EQ(FormatExport(ListModeSms, Messages, false, 0), Golden("SMS.txt"));
}

TEST(FormatExport, EdgeCases)
{
    struct Case {
        const char* name;
        int32_t mode;
        Rows rows;
        uint8_t alphaLength;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"EmptyPhoneBook", ListModeAdn, {}, 14, ""},
        {"EmptySms", ListModeSms, {}, 0, ""},
        {"NameOfExactLength", ListModeAdn, {{u"abcd", u"1"}}, 4, "abcd,\t1\r\n"},
        {"NoAlphaField", ListModeAdn, {{u"abcd", u"1"}}, 0, ",\t1\r\n"},
        // A line feed inside a name ends a line on disk like any other.
        {"LineFeedInName", ListModeAdn, {{u"a\nb", u"1"}}, 3, "a\r\nb,\t1\r\n"},
        {"SenderOf30", ListModeSms, {{std::u16string(30, u'9'), u"d", u"t"}}, 0,
         std::string(30, '9') + ",\td,\t\"t\"\r\n"},
        {"LoneSurrogate", ListModeSms, {{u"1", u"d", std::u16string(1, char16_t(0xD800)) + u"x"}}, 0,
         "1" + std::string(29, ' ') + ",\td,\t\"?x\"\r\n"},
        {"MissingColumns", ListModeSms, {{u"1"}}, 0, "1" + std::string(29, ' ') + ",\t,\t\"\"\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatExport(c.mode, c.rows, true, c.alphaLength), c.expected) << c.name;
}

TEST(DefaultExportName, PerMode)
{
    EXPECT_EQ(DefaultExportName(ListModeAdn), u"PhoneBook.txt");
    EXPECT_EQ(DefaultExportName(ListModeFdn), u"FDN.txt");
    EXPECT_EQ(DefaultExportName(ListModeSms), u"SMS.txt");
}

TEST(ExportResultMessage, TextsCaptionsAndTypes)
{
    EXPECT_FALSE(ExportResultMessage(ExportResult::Written).has_value());
    const auto open = ExportResultMessage(ExportResult::OpenFailed);
    ASSERT_TRUE(open.has_value());
    EXPECT_EQ(*open, (MessageBoxText{u"Failed to open the selected file for writing", u"I/O Error", 0x10}));
    const auto write = ExportResultMessage(ExportResult::WriteFailed);
    ASSERT_TRUE(write.has_value());
    EXPECT_EQ(write->caption, u"I/O Error");
    EXPECT_EQ(write->type, 0x10u);
    EXPECT_NE(write->text.find(u"could not be written completely"), std::u16string::npos);
}

} // namespace
