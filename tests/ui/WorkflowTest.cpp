// The connect and disconnect workflow against the simulated card: the exact
// view calls (fields, buttons, messages, PIN prompts, wait cursor) and the
// card commands of each path.
#include <algorithm>

#include "WorkflowFixture.h"
#include "res/resource.h"
#include "sim/ResultCodes.h"

namespace ui_test {
namespace {

using Lines = std::vector<std::string>;

const Lines MessagesAndPrompts = {"message ", "pin "};

const char* const ImsiNeeded = "message PIN Needed|No PIN entered.\\n We can't read the IMSI EF without it|0x30";
const char* const FdnNeeded = "message PIN Needed|No PIN entered.\\n We can't read the FDN EF without it|0x30";
const char* const AdnNeeded = "message PIN Needed|No PIN entered.\\n We can't read the ADN EF without it|0x30";
const char* const SmsNeeded = "message PIN Needed|No PIN entered.\\n We can't read the SMS records without it|0x30";
const char* const WrongPin = "message Wrong PIN|Wrong PIN!\\nDo you want to retry?|0x34";

Lines ReadRecords(unsigned count)
{
    Lines lines;
    for (unsigned i = 1; i <= count; ++i)
        lines.push_back("READ RECORD " + std::to_string(i));
    return lines;
}

Lines Concat(std::initializer_list<Lines> parts)
{
    Lines all;
    for (const Lines& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

struct InitCase {
    const char* name;
    std::vector<std::string> readers;
    long establishError;
    unsigned listed;
    Lines calls;
};

class InitDialogTest : public WorkflowTest, public ::testing::WithParamInterface<InitCase> {};

TEST_P(InitDialogTest, ListsReadersOrStaysSilent)
{
    const InitCase& c = GetParam();
    fake_pcsc::SetReaders(c.readers);
    fake_pcsc::FailEstablishContext(c.establishError);
    logic = std::make_unique<MainDialogLogic>(view);

    EXPECT_EQ(logic->OnInitDialog(), c.listed);

    EXPECT_EQ(view.calls, c.calls);
    EXPECT_FALSE(logic->IsConnected());
    // With nothing selected, Connect does nothing at all.
    if (c.listed == 0) {
        view.calls.clear();
        EXPECT_EQ(logic->OnConnect(), ConnectOutcome::NoReader);
        EXPECT_TRUE(view.calls.empty());
    }
}

std::vector<std::string> Readers(unsigned count)
{
    std::vector<std::string> names;
    for (unsigned i = 0; i < count; ++i)
        names.push_back("R" + std::to_string(i));
    return names;
}

Lines ReaderLines(unsigned count)
{
    Lines lines;
    for (unsigned i = 0; i < count; ++i)
        lines.push_back("reader R" + std::to_string(i));
    return lines;
}

const Lines ViewButtonsOff = {"enable 1010 0", "enable 1011 0", "enable 1013 0"};

INSTANTIATE_TEST_SUITE_P(
    Cases, InitDialogTest,
    ::testing::Values(InitCase{"NoReader", {}, 0, 0, ViewButtonsOff},
                      InitCase{"NoService", {"R0"}, static_cast<long>(0x8010001DUL), 0, ViewButtonsOff},
                      InitCase{"TwoReaders", {"R0", "R1"}, 0, 2,
                               Concat({{"reader R0", "reader R1", "select 0", "enable 1001 1"}, ViewButtonsOff})},
                      // Only the first ten of twelve readers are listed.
                      InitCase{"TwelveReaders", Readers(12), 0, 10,
                               Concat({ReaderLines(10), {"select 0", "enable 1001 1"}, ViewButtonsOff})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WorkflowTest, FullReadWithOnePinEntry)
{
    Start(DemoProfile());
    view.pins = {u"1234"};

    EXPECT_EQ(logic->OnConnect(), ConnectOutcome::Connected);

    EXPECT_EQ(view.calls, (Lines{
                              "wait +",
                              "text 1002 89012345678901234567",
                              "pin 3",
                              "text 1005 208102345678901",
                              "wait +",
                              "text 1003 Enabled and 3 tries left.",
                              "text 1004 Enabled and 3 tries left.",
                              "text 1008 Enabled with 3 entries",
                              "enable 1010 1",
                              "text 1009 Enabled with 2 entries",
                              "enable 1011 1",
                              "text 1012 2 messages",
                              "enable 1013 1",
                              "wait -",
                              "enable 1000 0",
                              "text 1001 Disconnect",
                              "wait -",
                          }));
    EXPECT_EQ(CommandSummary(),
              Concat({{"SELECT 3F00", "GET RESPONSE", "STATUS", "STATUS", "SELECT 2FE2", "GET RESPONSE",
                       "READ BINARY 10", "SELECT 7F20", "GET RESPONSE", "SELECT 6F07", "GET RESPONSE",
                       "VERIFY 31323334FFFFFFFF", "READ BINARY 9", "STATUS", "STATUS", "SELECT 3F00", "GET RESPONSE",
                       "SELECT 7F10", "GET RESPONSE", "SELECT 6F3B", "GET RESPONSE"},
                      ReadRecords(4),
                      {"SELECT 6F3A", "GET RESPONSE"},
                      ReadRecords(6),
                      {"SELECT 6F3C", "GET RESPONSE"},
                      ReadRecords(4)}));
    // One transaction around the whole read; the connection stays.
    const Lines calls = PcscCalls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "SCardBeginTransaction"), 1);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "SCardEndTransaction"), 1);
    EXPECT_TRUE(logic->IsConnected());
    EXPECT_TRUE(logic->IsPinVerified());
    EXPECT_EQ(logic->GetInterruption(), 0);
    EXPECT_EQ(logic->Adn().Entries.size(), 3u);
    EXPECT_EQ(logic->Fdn().Entries.at("Voicemail"), "+447700900123");
    ASSERT_EQ(logic->Sms().messages.size(), 2u);
    EXPECT_EQ(logic->Sms().messages[0].text, u"Hello there");
}

TEST_F(WorkflowTest, EmptyReaderShowsOnlyItsMessageAndStartsNoTransaction)
{
    Start(DemoProfile());
    fake_pcsc::SetCardPresent(ReaderA, false);

    EXPECT_EQ(logic->OnConnect(), ConnectOutcome::EmptyReader);

    EXPECT_EQ(view.calls, (Lines{"message Empty reader|No card present on the selected reader|0x30"}));
    const Lines calls = PcscCalls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "SCardConnect"), 0);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "SCardBeginTransaction"), 0);
    EXPECT_FALSE(logic->IsConnected());
}

struct ConnectFailureCase {
    const char* name;
    long connectError;
    long reconnectError;
    ConnectOutcome outcome;
    const char* message;
};

class ConnectFailureTest : public WorkflowTest, public ::testing::WithParamInterface<ConnectFailureCase> {};

TEST_P(ConnectFailureTest, ShowsItsMessageInsideTheWaitCursor)
{
    const ConnectFailureCase& c = GetParam();
    Start(DemoProfile());
    fake_pcsc::FailConnect(c.connectError);
    fake_pcsc::FailReconnect(c.reconnectError);

    EXPECT_EQ(logic->OnConnect(), c.outcome);

    EXPECT_EQ(view.calls, (Lines{"wait +", c.message, "wait -"}));
    EXPECT_TRUE(CommandSummary().empty());
    EXPECT_FALSE(logic->IsConnected());
    // Connect stays possible: the next press tries again.
    fake_pcsc::FailConnect(0);
    fake_pcsc::FailReconnect(0);
    view.pins = {u"1234"};
    EXPECT_EQ(logic->OnConnect(), ConnectOutcome::Connected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConnectFailureTest,
    ::testing::Values(
        ConnectFailureCase{"ProtocolMismatch", static_cast<long>(0x8010000FUL), 0, ConnectOutcome::ProtocolMismatch,
                           "message Insupported Protocol|The card doesn't support T=0 protocol. We can't "
                           "continue!|0x30"},
        ConnectFailureCase{"SharingViolation", static_cast<long>(0x8010000BUL), 0, ConnectOutcome::ConnectError,
                           "message PC/SC Error|Error (0x8010000B) occured while connecting to the card|0x10"},
        ConnectFailureCase{"ResetFails", 0, static_cast<long>(0x80100066UL), ConnectOutcome::ConnectError,
                           "message PC/SC Error|Error (0x80100066) occured while connecting to the card|0x10"},
        ConnectFailureCase{"ProtocolMismatchOnReset", 0, static_cast<long>(0x8010000FUL),
                           ConnectOutcome::ProtocolMismatch,
                           "message Insupported Protocol|The card doesn't support T=0 protocol. We can't "
                           "continue!|0x30"}),
    [](const auto& info) { return std::string(info.param.name); });

struct IncompatibleCase {
    const char* name;
    void (*change)(simcard::CardProfile&);
    Lines commands;
};

class IncompatibleCardTest : public WorkflowTest, public ::testing::WithParamInterface<IncompatibleCase> {};

TEST_P(IncompatibleCardTest, IsReportedAndDisconnected)
{
    simcard::CardProfile profile = DemoProfile();
    GetParam().change(profile);
    Start(profile);

    EXPECT_EQ(logic->OnConnect(), ConnectOutcome::IncompatibleCard);

    EXPECT_EQ(view.calls, (Lines{"wait +", "message Incompatible card|The card is not a GSM SIM card|0x30", "wait -"}));
    EXPECT_EQ(CommandSummary(), GetParam().commands);
    EXPECT_EQ(fake_pcsc::OpenCardCount(), 0u);
    EXPECT_FALSE(logic->IsConnected());
    const Lines calls = PcscCalls();
    ASSERT_GE(calls.size(), 2u);
    const auto end = std::find(calls.begin(), calls.end(), "SCardEndTransaction");
    ASSERT_NE(end, calls.end());
    EXPECT_EQ(*(end + 1), "SCardDisconnect");
    EXPECT_EQ(logic->GetInterruption(), 0) << "the card is still there";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IncompatibleCardTest,
    ::testing::Values(
        IncompatibleCase{"NoIccId", [](simcard::CardProfile& p) { p.iccid.reset(); },
                         {"SELECT 3F00", "GET RESPONSE", "STATUS", "STATUS", "SELECT 2FE2"}},
        IncompatibleCase{"ShortIccId",
                         [](simcard::CardProfile& p) { p.iccid->data.resize(9); },
                         {"SELECT 3F00", "GET RESPONSE", "STATUS", "STATUS", "SELECT 2FE2", "GET RESPONSE",
                          "READ BINARY 10"}},
        // A GSM data length that would need more than 255 bytes: no second STATUS.
        IncompatibleCase{"StatusLengthOutOfRange", [](simcard::CardProfile& p) { p.gsmDataLength = 0xFF; },
                         {"SELECT 3F00", "GET RESPONSE", "STATUS"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WorkflowTest, CancelAtEveryPromptAsksAgainForEachProtectedFile)
{
    Start(DemoProfile());

    EXPECT_EQ(logic->OnConnect(), ConnectOutcome::Connected);

    EXPECT_EQ(view.Filtered({"message ", "pin ", "text 1005"}),
              (Lines{"pin 3", ImsiNeeded, "text 1005 Failed to read IMSI file", "pin 3", FdnNeeded, "pin 3",
                     AdnNeeded, "pin 3", SmsNeeded}));
    const Lines commands = CommandSummary();
    EXPECT_EQ(std::count_if(commands.begin(), commands.end(),
                            [](const std::string& c) { return c.rfind("VERIFY", 0) == 0; }),
              0)
        << "a declined prompt never reaches the card";
    // The protected files answer the reads with an error: nothing listed.
    EXPECT_EQ(view.Text(IDC_ADN_COUNT), "Enabled with 0 entries");
    EXPECT_EQ(view.Text(IDC_FDN_COUNT), "Enabled with 0 entries");
    EXPECT_EQ(view.Text(IDC_SMS_COUNT), "0 messages");
    EXPECT_EQ(view.Filtered({"enable 101"}), (Lines{"enable 1010 0", "enable 1011 0", "enable 1013 0"}));
    EXPECT_FALSE(logic->IsPinVerified());
    EXPECT_EQ(logic->GetInterruption(), 0) << "a refused read is the card's answer, not an interruption";
}

TEST_F(WorkflowTest, DisconnectClearsEverythingAndTheNextConnectAsksAgain)
{
    Start(DemoProfile());
    view.pins = {u"1234"};
    ASSERT_EQ(logic->OnConnect(), ConnectOutcome::Connected);
    view.calls.clear();
    fake_pcsc::ClearCalls();

    EXPECT_EQ(logic->OnConnect(), ConnectOutcome::Disconnected);

    EXPECT_EQ(view.calls, (Lines{"enable 1000 1", "text 1001 Connect", "text 1002 ", "text 1003 ", "text 1004 ",
                                 "text 1005 ", "text 1008 ", "text 1009 ", "text 1012 ", "enable 1010 0",
                                 "enable 1011 0", "enable 1013 0"}));
    EXPECT_EQ(PcscCalls(), (Lines{"SCardDisconnect"}));
    EXPECT_FALSE(logic->IsConnected());
    EXPECT_FALSE(logic->IsPinVerified());
    EXPECT_TRUE(logic->Adn().Entries.empty());
    EXPECT_FALSE(logic->Adn().Enabled);
    EXPECT_TRUE(logic->Fdn().Entries.empty());
    EXPECT_TRUE(logic->Sms().messages.empty());
    EXPECT_EQ(logic->Sms().recordCount, 0u);

    view.calls.clear();
    view.pins = {u"1234"};
    EXPECT_EQ(logic->OnConnect(), ConnectOutcome::Connected);
    EXPECT_EQ(view.Filtered(MessagesAndPrompts), (Lines{"pin 3"}));
    EXPECT_EQ(view.Text(IDC_ADN_COUNT), "Enabled with 3 entries") << "the lists are read afresh, not added to";
}

TEST_F(WorkflowTest, WrongPinThenRightPinAtTheImsiPrompt)
{
    Start(DemoProfile());
    view.pins = {u"9999", u"1234"};
    view.answers = {mb::IdYes};

    EXPECT_EQ(logic->OnConnect(), ConnectOutcome::Connected);

    EXPECT_EQ(view.Filtered(MessagesAndPrompts), (Lines{"pin 3", WrongPin, "pin 2"}));
    EXPECT_EQ(view.Text(IDC_IMSI), "208102345678901");
    EXPECT_EQ(view.Text(IDC_PIN1_STATE), "Enabled and 3 tries left.");
}

TEST_F(WorkflowTest, PinBlockedOnTheCardGivesTheBlockedMessageForEachFile)
{
    simcard::CardProfile profile = DemoProfile();
    profile.chv1.attemptsLeft = 0;
    Start(profile);

    EXPECT_EQ(logic->OnConnect(), ConnectOutcome::Connected);

    EXPECT_EQ(view.Filtered({"message ", "pin ", "text 1005", "text 1003"}),
              (Lines{"message PIN Blocked|Your PIN is blocked!\\nIMSI file can't be read.|0x10",
                     "text 1005 Failed to read IMSI file", "text 1003 Enabled and 0 tries left.",
                     "message PIN Blocked|Your PIN is blocked!\\nFDN file can't be read.|0x10",
                     "message PIN Blocked|Your PIN is blocked!\\nADN file can't be read.|0x10",
                     "message PIN Blocked|Your PIN is blocked!\\nSMS records file can't be read.|0x10"}));
}

TEST_F(WorkflowTest, PinBlockedDuringEntryIsShownOnceThenPerFile)
{
    simcard::CardProfile profile = DemoProfile();
    profile.chv1.attemptsLeft = 1;
    Start(profile);
    view.pins = {u"0000"};

    EXPECT_EQ(logic->OnConnect(), ConnectOutcome::Connected);

    // The card answers the last wrong entry with "blocked"; the fresh STATUS
    // then shows 0 attempts and every later file gets the blocked text.
    EXPECT_EQ(view.Filtered({"message ", "pin ", "text 1003"}),
              (Lines{"pin 1", "message PIN Blocked|Your PIN is blocked!\\n|0x10", "text 1003 Enabled and 0 tries left.",
                     "message PIN Blocked|Your PIN is blocked!\\nFDN file can't be read.|0x10",
                     "message PIN Blocked|Your PIN is blocked!\\nADN file can't be read.|0x10",
                     "message PIN Blocked|Your PIN is blocked!\\nSMS records file can't be read.|0x10"}));
}

TEST_F(WorkflowTest, DisabledPinIsNeverAskedFor)
{
    simcard::CardProfile profile = DemoProfile();
    profile.chv1.enabled = false;
    Start(profile);

    EXPECT_EQ(logic->OnConnect(), ConnectOutcome::Connected);

    EXPECT_TRUE(view.Filtered(MessagesAndPrompts).empty());
    EXPECT_EQ(view.Text(IDC_PIN1_STATE), "Disabled");
    EXPECT_EQ(view.Text(IDC_IMSI), "208102345678901");
    EXPECT_EQ(view.Text(IDC_ADN_COUNT), "Enabled with 3 entries");
}

struct DegradedCase {
    const char* name;
    void (*change)(simcard::CardProfile&);
    Lines expected; // the fields and buttons of the contents, in order
};

class DegradedCardTest : public WorkflowTest, public ::testing::WithParamInterface<DegradedCase> {};

TEST_P(DegradedCardTest, ShowsWhatCouldBeRead)
{
    simcard::CardProfile profile = DemoProfile();
    profile.chv1.enabled = false;
    GetParam().change(profile);
    Start(profile);

    EXPECT_EQ(logic->OnConnect(), ConnectOutcome::Connected);

    EXPECT_EQ(view.Filtered({"text 1005", "text 1008", "text 1009", "text 1012", "enable 101"}),
              GetParam().expected);
    EXPECT_TRUE(view.Filtered({"message "}).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DegradedCardTest,
    ::testing::Values(
        DegradedCase{"NoDfGsm", [](simcard::CardProfile& p) { p.hasDfGsm = false; },
                     {"text 1008 Enabled with 3 entries", "enable 1010 1", "text 1009 Enabled with 2 entries",
                      "enable 1011 1", "text 1012 2 messages", "enable 1013 1"}},
        DegradedCase{"NoDfTelecom", [](simcard::CardProfile& p) { p.hasDfTelecom = false; },
                     {"text 1005 208102345678901", "text 1008 Disabled", "text 1009 Disabled", "text 1012 0 messages",
                      "enable 1013 0"}},
        DegradedCase{"AdnWithoutUsedRecords",
                     [](simcard::CardProfile& p) { p.adn = RecordFile(28, 5, {}, simcard::access::Always); },
                     {"text 1005 208102345678901", "text 1008 Enabled with 0 entries", "enable 1010 0",
                      "text 1009 Enabled with 2 entries", "enable 1011 1", "text 1012 2 messages", "enable 1013 1"}},
        DegradedCase{"RecordLength14",
                     [](simcard::CardProfile& p) {
                         p.adn = RecordFile(14, 5, {}, simcard::access::Always);
                         p.sms = RecordFile(14, 5, {}, simcard::access::Always);
                     },
                     {"text 1005 208102345678901", "text 1008 Disabled", "text 1009 Enabled with 2 entries",
                      "enable 1011 1", "text 1012 0 messages", "enable 1013 0"}},
        DegradedCase{"NoFdnFile", [](simcard::CardProfile& p) { p.fdn.reset(); },
                     {"text 1005 208102345678901", "text 1008 Enabled with 3 entries", "enable 1010 1",
                      "text 1009 Disabled", "text 1012 2 messages", "enable 1013 1"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Removing the card after every number of commands of a full read: the
// workflow always ends, leaves no wait cursor or transaction behind and
// reports the interruption; only a complete read reports none.
TEST_F(WorkflowTest, CardRemovedAfterAnyCommand)
{
    Start(DemoProfile());
    view.pins = {u"1234"};
    ASSERT_EQ(logic->OnConnect(), ConnectOutcome::Connected);
    const uint64_t fullRead = cards.CommandCount(ReaderA);
    ASSERT_GT(fullRead, 30u);

    for (uint64_t removeAfter = 0; removeAfter <= fullRead; ++removeAfter) {
        SCOPED_TRACE("card removed after " + std::to_string(removeAfter) + " commands");
        logic.reset();
        cards.Install();
        fake_pcsc::SetCardPresent(ReaderA, true);
        fake_pcsc::ClearCalls();
        Start(DemoProfile());
        view.pins = {u"1234"};
        cards.RemoveAfter(ReaderA, removeAfter);

        const ConnectOutcome outcome = logic->OnConnect();

        EXPECT_EQ(view.waitDepth, 0);
        const Lines calls = PcscCalls();
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "SCardBeginTransaction"),
                  std::count(calls.begin(), calls.end(), "SCardEndTransaction"));
        if (removeAfter < fullRead) {
            EXPECT_EQ(logic->GetInterruption(), static_cast<long>(0x80100069UL));
        } else {
            EXPECT_EQ(logic->GetInterruption(), 0);
        }
        // The identity stage is the first 7 commands.
        EXPECT_EQ(outcome, removeAfter < 7 ? ConnectOutcome::IncompatibleCard : ConnectOutcome::Connected);
    }
}

} // namespace
} // namespace ui_test
