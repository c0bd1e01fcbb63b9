// The test double itself: the checks the card tests rely on must fail when
// they should.
#include <string>
#include <vector>

#include "CardTest.h"

namespace card_test {
namespace {

using fake_pcsc::Exchange;

// A connected card whose fake reports failures into `failures` instead of
// failing the test.
class FakeSelfTest : public ConnectedCardTest {
protected:
    void SetUp() override
    {
        ConnectedCardTest::SetUp();
        fake_pcsc::SetFailureHandler([this](const std::string& message) { failures.push_back(message); });
    }

    void TearDown() override
    {
        // The script is checked by each test itself. The handlers capture
        // members that go before the base fixture disconnects.
        fake_pcsc::SetFailureHandler({});
        fake_pcsc::SetResetHandler({});
    }

    std::vector<std::string> failures;
    std::vector<std::string> resets; // a member: the fixture's teardown still resets
};

TEST_F(FakeSelfTest, MismatchIsReportedWithBothCommandsInHex)
{
    fake_pcsc::ExpectExchanges({{H("A0 C0 00 00 0F"), H("90 00")}});
    uint8_t response[255];
    DWORD length = sizeof response;
    const uint8_t sent[] = {0xA0, 0xC0, 0x00, 0x00, 0x10};

    EXPECT_NE(reader->Transmit(sent, sizeof sent, response, length), 0);

    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0], "command 1 differs from the script:\n"
                           "  expected A0 C0 00 00 0F\n"
                           "  sent     A0 C0 00 00 10\n"
                           "                       ^^");
}

TEST_F(FakeSelfTest, UnscriptedAndUnsentCommandsAreReported)
{
    fake_pcsc::ExpectExchanges({{H("A0 F2 00 00 0D"), H("90 00")}});
    uint8_t response[255];
    DWORD length = sizeof response;
    const uint8_t first[] = {0xA0, 0xF2, 0x00, 0x00, 0x0D};
    ASSERT_EQ(reader->Transmit(first, sizeof first, response, length), 0);
    EXPECT_EQ(length, 2u);
    EXPECT_TRUE(failures.empty());

    length = sizeof response;
    EXPECT_NE(reader->Transmit(first, sizeof first, response, length), 0);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0], "command 2 is not in the script: A0 F2 00 00 0D");

    fake_pcsc::ExpectExchanges({{H("A0 B0 00 00 0A"), H("90 00")}});
    fake_pcsc::ExpectScriptDone();
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[1], "scripted command was never sent: A0 B0 00 00 0A");
}

TEST_F(FakeSelfTest, AnswerLongerThanTheRoomIsRefused)
{
    fake_pcsc::ExpectExchanges({{H("A0 B0 00 00 04"), Filled(4, 0x11)}});
    uint8_t response[8] = {};
    DWORD length = 5;
    const uint8_t command[] = {0xA0, 0xB0, 0x00, 0x00, 0x04};

    EXPECT_EQ(reader->Transmit(command, sizeof command, response, length), static_cast<long>(0x80100008UL));
    EXPECT_EQ(response[0], 0x00); // nothing written
}

TEST_F(FakeSelfTest, ResetHandlerSeesPowerUpAndEveryReset)
{
    fake_pcsc::SetResetHandler([this](const std::string& name) { resets.push_back(name); });

    ASSERT_EQ(reader->Connect(SCARD_PROTOCOL_T0), 0); // reconnect with reset
    ASSERT_EQ(reader->EndTransaction(), 0);            // leave card: no reset
    reader->Disconnect();                              // reset
    EXPECT_EQ(resets, (std::vector<std::string>{"Reader 0", "Reader 0"}));

    fake_pcsc::SetCardPresent("Reader 0", false);
    fake_pcsc::SetCardPresent("Reader 0", true);
    resets.clear();
    ASSERT_EQ(reader->Connect(SCARD_PROTOCOL_T0), 0); // power up, then reset
    EXPECT_EQ(resets, (std::vector<std::string>{"Reader 0", "Reader 0"}));
}

TEST_F(FakeSelfTest, HexParsingRejectsBadInput)
{
    EXPECT_EQ(fake_pcsc::FromHex("a0B2 0104"), (Bytes{0xA0, 0xB2, 0x01, 0x04}));
    EXPECT_TRUE(failures.empty());
    fake_pcsc::FromHex("A0 B");
    fake_pcsc::FromHex("A0 G0");
    EXPECT_EQ(failures.size(), 2u);
}

struct FeedCase {
    const char* name;
    Bytes feed;
    std::vector<long> results;
    std::vector<size_t> lengths; // of the successful answers, in order
};
CARD_TEST_PRINTS_NAME(FeedCase)

class ResponseFeedTest : public ::testing::TestWithParam<FeedCase> {};

TEST_P(ResponseFeedTest, SplitsTheBytesIntoAnswers)
{
    const FeedCase& c = GetParam();
    fake_pcsc::Responder responder = fake_pcsc::ResponsesFromBytes(c.feed.data(), c.feed.size());
    std::vector<long> results;
    std::vector<size_t> lengths;
    for (size_t i = 0; i < c.results.size(); ++i) {
        Bytes response;
        results.push_back(responder("R", {}, response));
        if (results.back() == 0)
            lengths.push_back(response.size());
    }
    EXPECT_EQ(results, c.results);
    EXPECT_EQ(lengths, c.lengths);
}

const long CommError = static_cast<long>(0x80100013UL);
const long Removed = static_cast<long>(0x80100069UL);

Bytes LongFeed()
{
    Bytes feed = {0xFE, 0x03};
    feed.resize(2 + 257, 0x90);
    return feed;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResponseFeedTest,
    ::testing::Values(FeedCase{"empty", {}, {Removed, Removed}, {}},
                      FeedCase{"two_answers", H("02 9F 0F 00"), {0, 0, Removed}, {2, 0}},
                      FeedCase{"error", H("FF 01 90"), {CommError, 0}, {1}},
                      FeedCase{"cut_short", H("05 90 00"), {Removed, Removed}, {}},
                      FeedCase{"long_answer", LongFeed(), {0, Removed}, {257}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace card_test
