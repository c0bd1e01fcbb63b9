// The terminal front end's own pieces: command line, text conversion, JSON,
// the terminal view's prompts and answers, sort requests and exit codes.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <random>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "FakePcsc.h"
#include "card/CardReaderList.h"

#include "cli/CliExport.h"
#include "cli/CliOptions.h"
#include "cli/CliReport.h"
#include "cli/ExitCodes.h"
#include "cli/ProgressLine.h"
#include "cli/RemovalCheck.h"
#include "cli/TerminalView.h"
#include "cli/TraceFile.h"
#include "cli/Utf8.h"

namespace {

using Args = std::vector<std::string>;

TEST(ParseCliOptions, AcceptedCommandLines)
{
    std::string error;
    const auto defaults = ParseCliOptions({}, error);
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->reader, "0");
    EXPECT_FALSE(defaults->exportDir);
    EXPECT_FALSE(defaults->json);

    const auto all = ParseCliOptions({"--reader", "Virtual PCD 00 01", "--export=/tmp/x", "--sort", "Number:desc",
                                      "--sort=1", "--json", "--trace=/tmp/t"},
                                     error);
    ASSERT_TRUE(all) << error;
    EXPECT_EQ(all->reader, "Virtual PCD 00 01");
    EXPECT_EQ(all->exportDir.value_or(""), "/tmp/x");
    ASSERT_EQ(all->sorts.size(), 2u);
    EXPECT_EQ(all->sorts[0].column, "Number");
    EXPECT_TRUE(all->sorts[0].descending);
    EXPECT_EQ(all->sorts[1].column, "1");
    EXPECT_FALSE(all->sorts[1].descending);
    EXPECT_TRUE(all->json);
    EXPECT_EQ(all->traceFile.value_or(""), "/tmp/t");
    EXPECT_FALSE(defaults->traceFile);

    EXPECT_TRUE(ParseCliOptions({"--list-readers"}, error)->listReaders);
    EXPECT_TRUE(ParseCliOptions({"--help"}, error)->help);
    EXPECT_TRUE(ParseCliOptions({"--version"}, error)->version);
    EXPECT_FALSE(ParseCliOptions({"--sort", "Date:asc"}, error)->sorts[0].descending);
}

TEST(ParseCliOptions, RejectedCommandLines)
{
    struct Case {
        Args args;
        const char* errorPart;
    };
    for (const Case& c : std::vector<Case>{{{"--reader"}, "needs a value"},
                                           {{"--reader="}, "reader number or name"},
                                           {{"--export"}, "needs a value"},
                                           {{"--trace"}, "needs a value"},
                                           {{"--trace="}, "needs a file name"},
                                           {{"--sort", "Name:up"}, "--sort takes"},
                                           {{"--sort", ":desc"}, "--sort takes"},
                                           {{"--sort", "Bogus"}, "no list has a column \"Bogus\""},
                                           {{"--sort=3:desc"}, "no list has a column \"3\""},
                                           {{"--pin", "1234"}, "never taken from the command line"},
                                           {{"--pin=1234"}, "never taken from the command line"},
                                           {{"1234"}, "unknown argument"},
                                           {{"-x"}, "unknown argument"}}) {
        std::string error;
        EXPECT_FALSE(ParseCliOptions(c.args, error)) << c.args[0];
        EXPECT_NE(error.find(c.errorPart), std::string::npos) << c.args[0] << ": " << error;
    }
}

TEST(CliUsage, DocumentsEveryExitCode)
{
    const std::string usage = CliUsage();
    for (int code : {exit_code::CardRead, exit_code::Usage, exit_code::NoReader, exit_code::NoCard,
                     exit_code::ProtocolMismatch, exit_code::PcscError, exit_code::IncompatibleCard,
                     exit_code::Interrupted, exit_code::ExportFailed})
        EXPECT_NE(usage.find("\n  " + std::to_string(code) + "  "), std::string::npos) << code;
    for (const char* name : {"EF_SMS", "sms.csv", "contacts.vcf"})
        EXPECT_NE(usage.find(name), std::string::npos) << name;
}

TEST(JsonReport, LayoutAndEscapes)
{
    TerminalView view{[](bool) -> std::optional<std::string> { return std::nullopt; }};
    MainDialogLogic logic(view);
    RunSummary run;
    // A reader name is whatever the driver reports: quotes, control codes
    // and bytes that are not UTF-8 must still give a valid document.
    run.reader = "R \"1\"\x01\t\xFF";
    run.outcome = ConnectOutcome::NoReader;
    run.exitCode = 2;
    const std::string text =
        JsonReport(run, view, logic, [](nlohmann::ordered_json& json) { json["more"] = nlohmann::ordered_json::array(); });
    const std::string start = "{\n  \"reader\": \"R \\\"1\\\"\\u0001\\t\xEF\xBF\xBD\",\n  \"outcome\": \"no reader\",\n";
    EXPECT_EQ(text.substr(0, start.size()), start);
    EXPECT_NE(text.find("\n  \"interruption\": null,\n"), std::string::npos);
    EXPECT_NE(text.find("\n  \"messageBoxes\": [],\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 17), ",\n  \"more\": []\n}\n");
}

// A terminal view whose answer lines come from a list; the end of the list
// is the end of input.
struct ScriptedTerminal {
    std::deque<std::string> lines;
    std::vector<bool> hidden;
    TerminalView view{[this](bool hide) -> std::optional<std::string> {
        hidden.push_back(hide);
        if (lines.empty())
            return std::nullopt;
        std::string line = lines.front();
        lines.pop_front();
        return line;
    }};
};

TEST(TerminalView, PinPromptValidatesLikeTheDialog)
{
    ScriptedTerminal terminal;
    terminal.lines = {"", "12", "12ab", "123456789", "4321"};
    std::u16string pin;
    int erased = 0; // the progress line goes before every prompt and message
    terminal.view.SetBeforeOutput([&erased] { ++erased; });

    EXPECT_TRUE(terminal.view.AskPin(3, pin));
    EXPECT_EQ(erased, 5 + 4);

    EXPECT_EQ(pin, u"4321");
    std::vector<std::u16string> captions;
    for (const MessageBoxText& message : terminal.view.Messages())
        captions.push_back(message.caption);
    EXPECT_EQ(captions, (std::vector<std::u16string>{u"Empty PIN", u"PIN short", u"Invalid PIN", u"PIN long"}));
    EXPECT_EQ(terminal.hidden, (std::vector<bool>{true, true, true, true, true}));
}

TEST(TerminalView, EndOfInputCancelsThePrompt)
{
    ScriptedTerminal terminal;
    terminal.lines = {"12"};
    std::u16string pin = u"unchanged";
    EXPECT_FALSE(terminal.view.AskPin(2, pin));
    EXPECT_EQ(pin, u"unchanged");
}

TEST(TerminalView, RetryQuestionAnswers)
{
    struct Case {
        std::deque<std::string> lines;
        int expected;
    };
    for (const Case& c : std::vector<Case>{{{"y"}, mb::IdYes},
                                           {{"yes"}, mb::IdYes},
                                           {{"Y"}, mb::IdYes},
                                           {{"n"}, mb::IdNo},
                                           {{""}, mb::IdNo},
                                           {{"maybe"}, mb::IdNo},
                                           {{}, mb::IdNo}}) {
        ScriptedTerminal terminal;
        terminal.lines = c.lines;
        EXPECT_EQ(terminal.view.ShowMessage(u"Wrong PIN!\nDo you want to retry?", u"Wrong PIN", mb::YesNo | 0x30),
                  c.expected)
            << (c.lines.empty() ? "<end of input>" : c.lines.front());
        EXPECT_EQ(terminal.hidden, std::vector<bool>{false});
    }
    // An OK box asks nothing.
    ScriptedTerminal terminal;
    EXPECT_EQ(terminal.view.ShowMessage(u"t", u"c", 0x10), mb::IdOk);
    EXPECT_TRUE(terminal.hidden.empty());
}

TEST(TerminalView, FieldsKeepTheLastText)
{
    ScriptedTerminal terminal;
    terminal.view.SetControlText(1002, u"89");
    terminal.view.SetControlText(1002, u"");
    terminal.view.SetControlText(1005, u"2081");
    EXPECT_EQ(FieldsText(terminal.view), "ICC ID : \nPIN1 State : \nPIN2 State : \nIMSI : 2081\n"
                                         "Phone Book (ADN) : \nFixed Dialing (FDN) : \nSMS Messages : \n");
}

TEST(SortColumnFor, TitlesAndIndexes)
{
    struct Case {
        int32_t mode;
        const char* column;
        int expected;
    };
    for (const Case& c : std::vector<Case>{{ListModeAdn, "Name", 0},
                                           {ListModeFdn, "number", 1},
                                           {ListModeSms, "DATE", 1},
                                           {ListModeSms, "Message", 2},
                                           {ListModeAdn, "Date", -1},
                                           {ListModeSms, "Number", -1},
                                           {ListModeAdn, "1", 1},
                                           {ListModeAdn, "2", -1},
                                           {ListModeSms, "2", 2},
                                           {ListModeSms, "99999", -1}})
        EXPECT_EQ(SortColumnFor(c.mode, c.column), c.expected) << c.mode << " " << c.column;
}

TEST(SortedRows, ClicksGiveTheRequestedDirection)
{
    const std::vector<ListRow> rows = {{{u"b", u"2"}, 0}, {{u"a", u"3"}, 1}, {{u"c", u"1"}, 2}};
    struct Case {
        std::vector<SortRequest> sorts;
        bool ascendingAfter;
        std::vector<std::u16string> namesAfter;
    };
    for (const Case& c : std::vector<Case>{
             {{}, true, {u"b", u"a", u"c"}},
             {{{"Number", true}}, false, {u"a", u"b", u"c"}},
             {{{"Number", false}}, true, {u"c", u"b", u"a"}},
             {{{"Name", false}, {"Number", true}}, false, {u"a", u"b", u"c"}},
             {{{"Date", true}}, true, {u"b", u"a", u"c"}}, // no such column: no click
         }) {
        ListSortState sort;
        const std::vector<ListRow> sorted = SortedRows(ListModeAdn, rows, c.sorts, sort);
        EXPECT_EQ(sort.ascending, c.ascendingAfter);
        std::vector<std::u16string> names;
        for (const ListRow& row : sorted)
            names.push_back(row.texts[0]);
        EXPECT_EQ(names, c.namesAfter);
    }
}

TEST(ExitCodeFor, OutcomesAndInterruptions)
{
    constexpr long removed = static_cast<long>(0x80100069UL);
    struct Case {
        ConnectOutcome outcome;
        long interruption;
        int expected;
    };
    for (const Case& c : std::vector<Case>{{ConnectOutcome::Connected, 0, exit_code::CardRead},
                                           {ConnectOutcome::Connected, removed, exit_code::Interrupted},
                                           {ConnectOutcome::IncompatibleCard, 0, exit_code::IncompatibleCard},
                                           {ConnectOutcome::IncompatibleCard, removed, exit_code::Interrupted},
                                           {ConnectOutcome::NoReader, 0, exit_code::NoReader},
                                           {ConnectOutcome::EmptyReader, 0, exit_code::NoCard},
                                           {ConnectOutcome::ProtocolMismatch, 0, exit_code::ProtocolMismatch},
                                           {ConnectOutcome::ConnectError, 0, exit_code::PcscError}})
        EXPECT_EQ(ExitCodeFor(c.outcome, c.interruption), c.expected) << static_cast<int>(c.outcome);
}

TEST(Trace, CommandsAnswersAndHiddenPins)
{
    struct Case {
        std::vector<uint8_t> command;
        const char* expected;
    };
    for (const Case& c : std::vector<Case>{
             {{0xA0, 0xA4, 0x00, 0x00, 0x02, 0x3F, 0x00}, "> A0 A4 00 00 02 3F 00"},
             {{0xA0, 0xC0, 0x00, 0x00, 0x0F}, "> A0 C0 00 00 0F"},
             {{0xA0, 0x20, 0x00, 0x01, 0x08, '1', '2', '3', '4', 0xFF, 0xFF, 0xFF, 0xFF},
              "> A0 20 00 01 08 ** ** ** ** ** ** ** **"},
             {{0xA0, 0x24, 0x00, 0x01, 0x02, '1', '2'}, "> A0 24 00 01 02 ** **"},
             {{0xA0, 0x26, 0x00, 0x01, 0x01, '9'}, "> A0 26 00 01 01 **"},
             {{0xA0, 0x28, 0x00, 0x01, 0x01, '9'}, "> A0 28 00 01 01 **"},
             {{0xA0, 0x2C, 0x00, 0x00, 0x01, '8'}, "> A0 2C 00 00 01 **"},
             {{0x00, 0x20, 0x00, 0x81, 0x01, '5'}, "> 00 20 00 81 01 **"}, // any class
             {{0xA0, 0x20, 0x00, 0x01}, "> A0 20 00 01"},
             {{0xA0, 0x22, 0x00, 0x01, 0x01, 0x31}, "> A0 22 00 01 01 31"},
             {{0x20}, "> 20"},
             {{}, ">"}})
        EXPECT_EQ(TraceCommandText(c.command.data(), c.command.size()), c.expected);

    const uint8_t answer[] = {0x9F, 0x0F};
    EXPECT_EQ(TraceResponseText(0, answer, 2), "< 9F 0F");
    EXPECT_EQ(TraceResponseText(0, answer, 0), "< (empty)");
    EXPECT_EQ(TraceResponseText(static_cast<long>(0x80100069UL), answer, 0),
              "< error SCARD_W_REMOVED_CARD (0x80100069)");
    const auto time = std::chrono::system_clock::time_point(std::chrono::seconds(1030390661)) +
                      std::chrono::microseconds(42);
    EXPECT_EQ(TraceTimestamp(time), "2002-08-26T19:37:41.000042Z");
}

// The trace holds the IMSI and every record: a trace left by an earlier run
// is emptied first; on POSIX the file is 0600 whatever the umask (an older
// trace narrowed to it) and never written through a symbolic link.
TEST(Trace, FileIsPrivateAndNeverALink)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("velmora-trace-" + std::to_string(std::random_device{}()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const auto write = [](const fs::path& path, const std::string& text) { std::ofstream(path) << text; };
    const auto read = [](const fs::path& path) {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    std::string oldTrace;
    for (int i = 0; i < 20; ++i)
        oldTrace += "old trace line\n";
    write(dir / "old", oldTrace);
    struct Case {
        const char* name;
        const char* errorPart; // nullptr: opens
    };
    std::vector<Case> cases = {{"new", nullptr}, {"old", nullptr}};
#ifndef _WIN32
    fs::permissions(dir / "old", fs::perms(0644));
    write(dir / "victim", "keep");
    fs::create_symlink(dir / "victim", dir / "link");
    fs::create_symlink(dir / "absent", dir / "dangling");
    cases.push_back({"link", "it is a symbolic link"});
    cases.push_back({"dangling", "it is a symbolic link"});
    const mode_t savedMask = umask(0);
#endif
    for (const Case& c : cases) {
        TraceFile trace;
        std::string error;
        const bool opened = trace.Open((dir / c.name).string(), error);
        EXPECT_EQ(opened, c.errorPart == nullptr) << c.name << ": " << error;
        if (opened) {
#ifndef _WIN32
            EXPECT_EQ(fs::status(dir / c.name).permissions(), fs::perms::owner_read | fs::perms::owner_write)
                << c.name;
#endif
            EXPECT_TRUE(trace.Close(error)) << error;
            const std::string text = read(dir / c.name);
            EXPECT_EQ(text.rfind("# velmora-cli trace", 0), 0u) << c.name;
            EXPECT_EQ(text.find("old trace"), std::string::npos) << c.name;
        } else {
            EXPECT_NE(error.find(c.errorPart), std::string::npos) << c.name << ": " << error;
        }
    }
#ifndef _WIN32
    umask(savedMask);
    EXPECT_EQ(read(dir / "victim"), "keep");
    EXPECT_FALSE(fs::exists(dir / "absent"));
#endif
    fs::remove_all(dir);
}

TEST(ProgressLine, FollowsTheRecordReads)
{
    using Bytes = std::vector<uint8_t>;
    struct Step {
        Bytes command;
        Bytes response;
        const char* shown; // what the terminal received for this exchange
    };
    const Bytes adnHeader = {0, 0, 0x01, 0x18, 0x6F, 0x3A, 4, 0, 0x11, 0xF0, 0x44, 1, 2, 1, 0x1C, 0x90, 0x00};
    const Bytes record = {0xFF, 0x90, 0x00};
    const std::vector<Step> steps = {
        {{0xA0, 0xA4, 0, 0, 2, 0x6F, 0x3A}, {0x9F, 0x0F}, ""},
        {{0xA0, 0xC0, 0, 0, 0x0F}, adnHeader, ""},
        {{0xA0, 0xB2, 1, 4, 0x1C}, record, "\r\x1b[KReading ADN (6F3A): record 1 of 10"},
        {{0xA0, 0xB2, 2, 4, 0x1C}, record, "\r\x1b[KReading ADN (6F3A): record 2 of 10"},
        // Any other command erases the line before a prompt can follow.
        {{0xA0, 0xA4, 0, 0, 2, 0x6F, 0x99}, {0x9F, 0x0F}, "\r\x1b[K"},
        {{0xA0, 0xC0, 0, 0, 0x0F}, {0x6F, 0x00}, ""},
        {{0xA0, 0xB2, 7, 4, 0x1C}, record, "\r\x1b[KReading EF 6F99: record 7"},
        // A directory's header gives no record count.
        {{0xA0, 0xA4, 0, 0, 2, 0x6F, 0x3C}, {0x9F, 0x22}, "\r\x1b[K"},
        {{0xA0, 0xC0, 0, 0, 0x0F}, adnHeader, ""},
        {{0xA0, 0xB2, 3, 4, 0x1C}, record, "\r\x1b[KReading SMS (6F3C): record 3"},
    };
    std::FILE* terminal = std::tmpfile();
    ASSERT_NE(terminal, nullptr);
    // Everything written so far.
    const auto written = [terminal] {
        std::fflush(terminal);
        std::string text(static_cast<size_t>(std::ftell(terminal)), '\0');
        std::rewind(terminal);
        const size_t read = std::fread(text.data(), 1, text.size(), terminal);
        std::fseek(terminal, 0, SEEK_END);
        return text.substr(0, read);
    };
    ProgressLine progress(terminal, std::chrono::milliseconds(0));
    size_t seen = 0;
    for (const Step& step : steps) {
        progress.OnCommand(step.command.data(), step.command.size());
        progress.OnResponse(0, step.response.data(), step.response.size());
        const std::string text = written();
        EXPECT_EQ(text.substr(seen), step.shown);
        seen = text.size();
    }
    progress.Clear();
    progress.Clear(); // nothing left to erase
    EXPECT_EQ(written().substr(seen), "\r\x1b[K");
    std::fclose(terminal);
}

// After the read, a pulled card is told apart without a command to the card.
TEST(CardGoneAfterRead, AsksTheResourceManagerOnly)
{
    constexpr long removed = static_cast<long>(0x80100069UL);
    struct Case {
        const char* name;
        bool connected;
        bool cardStays;
        bool lastAnswerEmpty;
        long expected;
        std::vector<std::string> calls;
    };
    for (const Case& c : std::vector<Case>{
             {"connected_card_there", true, true, false, 0, {"SCardStatus"}},
             {"connected_card_pulled", true, false, false, removed, {"SCardStatus"}},
             {"connected_empty_answer_card_there", true, true, true, 0,
              {"SCardStatus", "SCardGetStatusChange", "SCardGetStatusChange"}},
             {"connected_empty_answer_card_pulled", true, false, true, removed, {"SCardStatus"}},
             {"disconnected_empty_answer_card_gone", false, false, true, removed, {"SCardGetStatusChange"}},
             {"disconnected_empty_answer_card_there", false, true, true, 0,
              {"SCardGetStatusChange", "SCardGetStatusChange"}},
             {"disconnected_card_there", false, true, false, 0, {}}}) {
        fake_pcsc::Reset();
        fake_pcsc::SetReaders({"R"});
        CCardReaderList list;
        ASSERT_EQ(list.ListReaders(), 0);
        CCardReader& reader = *list.GetReader(0);
        if (c.connected) {
            ASSERT_EQ(reader.Connect(SCARD_PROTOCOL_T0), 0);
        }
        fake_pcsc::SetCardPresent("R", c.cardStays);
        fake_pcsc::ClearCalls();

        EXPECT_EQ(CardGoneAfterRead(reader, c.lastAnswerEmpty, 20), c.expected) << c.name;
        EXPECT_EQ(fake_pcsc::CallNames(), c.calls) << c.name;
    }
}

} // namespace
