// The export file: its bytes against golden files, and writing it so that a
// failure never leaves a partial file under the chosen name.
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

class WriteExportFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("velmora-export-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Every name in the directory: a failed export leaves no temporary file.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir;
};

TEST_F(WriteExportFileTest, WritesAndReplaces)
{
    const fs::path target = dir / "PhoneBook.txt";
    {
        std::ofstream old(target, std::ios::binary);
        old << "an older and much longer export that must not survive in part";
    }
    EXPECT_EQ(WriteExportFile(target, "a,\t1\r\n"), ExportResult::Written);
    EXPECT_EQ(ReadBytes(target), "a,\t1\r\n");
    EXPECT_EQ(WriteExportFile(target, ""), ExportResult::Written);
    EXPECT_EQ(ReadBytes(target), "");
    EXPECT_EQ(Names(), (std::vector<std::string>{"PhoneBook.txt"}));
}

TEST_F(WriteExportFileTest, UnopenablePathsReportOpenFailure)
{
    // Runs as root too: a regular file where a directory should be, and a
    // directory under /proc, cannot be written by anyone.
    const fs::path notADirectory = dir / "plain-file";
    { std::ofstream(notADirectory) << "x"; }
    EXPECT_EQ(WriteExportFile(notADirectory / "SMS.txt", "data"), ExportResult::OpenFailed);
    EXPECT_EQ(WriteExportFile(dir / "missing" / "SMS.txt", "data"), ExportResult::OpenFailed);
#ifndef _WIN32
    EXPECT_EQ(WriteExportFile("/proc/velmora-no-such-dir/SMS.txt", "data"), ExportResult::OpenFailed);
#endif
    EXPECT_EQ(Names(), (std::vector<std::string>{"plain-file"}));
}

TEST_F(WriteExportFileTest, FailedFinalMoveLeavesTargetAndNoTemporaryFile)
{
    // A directory under the chosen name cannot be replaced by the file.
    const fs::path target = dir / "FDN.txt";
    fs::create_directory(target);
    { std::ofstream(target / "inside") << "kept"; }

    EXPECT_EQ(WriteExportFile(target, "a,\t1\r\n"), ExportResult::WriteFailed);

    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(ReadBytes(target / "inside"), "kept");
    EXPECT_EQ(Names(), (std::vector<std::string>{"FDN.txt"}));
}

#ifndef _WIN32
TEST(WriteExportFile, FullDeviceReportsWriteFailure)
{
    // /dev/full accepts the open and fails every write that reaches it.
    ASSERT_TRUE(fs::exists("/dev/full"));
    const std::string large(256 * 1024, 'x');
    EXPECT_EQ(WriteExportFile("/dev/full", large), ExportResult::WriteFailed);
    // Buffered in full until the close: the failure shows there.
    EXPECT_EQ(WriteExportFile("/dev/full", "a,\t1\r\n"), ExportResult::WriteFailed);
    EXPECT_TRUE(fs::is_character_file("/dev/full")) << "the device is written in place, never replaced";
}

TEST(WriteExportFile, DeviceThatTakesEverythingIsWritten)
{
    EXPECT_EQ(WriteExportFile("/dev/null", "a,\t1\r\n"), ExportResult::Written);
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}
#endif

} // namespace
