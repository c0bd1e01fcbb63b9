// VerifyPin alone: its loop, the attempts counter and its messages, with the
// card's VERIFY answers chosen by each case.
#include <deque>

#include "WorkflowFixture.h"
#include "sim/ResultCodes.h"

namespace ui_test {
namespace {

using Lines = std::vector<std::string>;

constexpr long RemovedCard = static_cast<long>(0x80100069UL);

// One VERIFY answer: a status word, or a transport error instead.
struct VerifyAnswer {
    Bytes statusWord;
    long error = 0;
};

struct VerifyCase {
    const char* name;
    int32_t triesLeft;
    std::deque<VerifyAnswer> card;
    std::deque<std::optional<std::u16string>> pins;
    std::deque<int> answers;
    long result;
    int32_t triesAfter;
    Lines calls;
    Lines commands;
};

class VerifyPinTest : public WorkflowTest, public ::testing::WithParamInterface<VerifyCase> {
protected:
    void SetUp() override
    {
        WorkflowTest::SetUp();
        Start(DemoProfile());
        reader = logic->ReaderList().GetReader(0);
        ASSERT_NE(reader, nullptr);
        ASSERT_EQ(reader->Connect(1), 0);
        fake_pcsc::ClearCalls();
    }

    // Answers VERIFY from the case's list; other commands reach the card.
    void AnswerVerifyWith(std::deque<VerifyAnswer> answers)
    {
        verifyAnswers = std::move(answers);
        fake_pcsc::SetResponder([this](const std::string&, const Bytes& command, Bytes& response) -> long {
            if (command.size() < 2 || command[1] != 0x20 || verifyAnswers.empty()) {
                ADD_FAILURE() << "unexpected command " << fake_pcsc::Hex(command);
                response = {0x6F, 0x00};
                return 0;
            }
            const VerifyAnswer answer = verifyAnswers.front();
            verifyAnswers.pop_front();
            response = answer.statusWord;
            return answer.error;
        });
    }

    CCardReader* reader = nullptr;
    std::deque<VerifyAnswer> verifyAnswers;
};

const VerifyAnswer Wrong{{0x98, 0x04}};
const VerifyAnswer Blocked{{0x98, 0x40}};
const VerifyAnswer Right{{0x90, 0x00}};
const char* const WrongPinBox = "message Wrong PIN|Wrong PIN!\\nDo you want to retry?|0x34";

TEST_P(VerifyPinTest, LoopCountersAndMessages)
{
    const VerifyCase& c = GetParam();
    AnswerVerifyWith(c.card);
    view.pins = c.pins;
    view.answers = c.answers;
    PinStatus status;
    status.pin1Enabled = true;
    status.pin1TriesLeft = c.triesLeft;

    EXPECT_EQ(logic->VerifyPin(*reader, status), c.result);

    EXPECT_EQ(status.pin1TriesLeft, c.triesAfter);
    EXPECT_EQ(view.calls, c.calls);
    EXPECT_EQ(CommandSummary(), c.commands);
    EXPECT_TRUE(verifyAnswers.empty()) << "the card expected more VERIFY commands";
    EXPECT_EQ(logic->IsPinVerified(), c.result == 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VerifyPinTest,
    ::testing::Values(
        // Two wrong entries with 2 attempts, Yes each time: no third prompt and
        // no "blocked" message; the caller reports the blocked PIN.
        VerifyCase{"TwoWrongWithTwoLeft", 2, {Wrong, Wrong}, {u"1111", u"2222"}, {mb::IdYes, mb::IdYes},
                   sc::ChvBlocked, 0, {"pin 2", WrongPinBox, "pin 1", WrongPinBox},
                   {"VERIFY 31313131FFFFFFFF", "VERIFY 32323232FFFFFFFF"}},
        VerifyCase{"WrongThenNo", 3, {Wrong}, {u"1111"}, {mb::IdNo}, sc::CancelledByUser, 2,
                   {"pin 3", WrongPinBox}, {"VERIFY 31313131FFFFFFFF"}},
        VerifyCase{"WrongThenRight", 3, {Wrong, Right}, {u"1111", u"12345678"}, {mb::IdYes}, sc::Success, 3,
                   {"pin 3", WrongPinBox, "pin 2"}, {"VERIFY 31313131FFFFFFFF", "VERIFY 3132333435363738"}},
        VerifyCase{"Cancelled", 3, {}, {std::nullopt}, {}, sc::CancelledByUser, 3, {"pin 3"}, {}},
        VerifyCase{"CardSaysBlocked", 3, {Blocked}, {u"1111"}, {}, sc::ChvBlocked, 0,
                   {"pin 3", "message PIN Blocked|Your PIN is blocked!\\n|0x10"}, {"VERIFY 31313131FFFFFFFF"}},
        VerifyCase{"OtherStatusWord", 3, {VerifyAnswer{{0x69, 0x83}}}, {u"1111"}, {}, sc::Unexpected, 3,
                   {"pin 3", "message Error|An unknown error occured\\n|0x10"}, {"VERIFY 31313131FFFFFFFF"}},
        VerifyCase{"TransportError", 3, {VerifyAnswer{{}, RemovedCard}}, {u"1111"}, {}, RemovedCard, 3,
                   {"pin 3", "message Error|An unknown error occured\\n|0x10"}, {"VERIFY 31313131FFFFFFFF"}},
        VerifyCase{"RightRestoresTheCounter", 1, {Right}, {u"1234"}, {}, sc::Success, 3, {"pin 1"},
                   {"VERIFY 31323334FFFFFFFF"}},
        VerifyCase{"NoAttemptLeft", 0, {}, {}, {}, sc::ChvBlocked, 0, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VerifyPinTest, VerifiedOnceMeansNoFurtherPromptOrCommand)
{
    AnswerVerifyWith({Right});
    view.pins = {u"1234"};
    PinStatus status;
    status.pin1Enabled = true;
    status.pin1TriesLeft = 2;
    ASSERT_EQ(logic->VerifyPin(*reader, status), sc::Success);
    view.calls.clear();
    fake_pcsc::ClearCalls();

    EXPECT_EQ(logic->VerifyPin(*reader, status), sc::Success);
    EXPECT_EQ(logic->VerifyPin(*reader, status), sc::Success);

    EXPECT_TRUE(view.calls.empty());
    EXPECT_TRUE(CommandSummary().empty());
}

} // namespace
} // namespace ui_test
