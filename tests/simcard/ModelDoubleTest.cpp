// Whole reads in process: card/ and the decoders against the card model of
// every shipped profile, and a card pulled out after each command.
#include <gtest/gtest.h>

#include "FakePcsc.h"
#include "ModelDouble.h"
#include "ProfileExpectation.h"
#include "card/CardReaderList.h"
#include "sim/ResultCodes.h"
#include "tests/ScopedTimeZone.h"
#include "tools/simcard/ProfileLoader.h"

namespace {

const char* const Reader = "Reader 0";

class ModelDoubleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake_pcsc::SetFailureHandler([](const std::string& message) { ADD_FAILURE() << message; });
        fake_pcsc::Reset();
        fake_pcsc::SetReaders({Reader});
    }
    void TearDown() override
    {
        model_double::RemoveAll();
        fake_pcsc::SetFailureHandler({});
    }

    CCardReader& ListedReader()
    {
        EXPECT_EQ(m_list.ListReaders(), 0);
        CCardReader* reader = m_list.GetReader(0);
        EXPECT_NE(reader, nullptr);
        return *reader;
    }

    // The profiles' expected SMS dates are those of UTC.
    ScopedTimeZone m_utc{"UTC0"};
    CCardReaderList m_list;
};

class ProfileReadTest : public ModelDoubleTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ProfileReadTest, ReadsWhatTheProfileHolds)
{
    const std::string path = model_double::ProfilePath(GetParam());
    const ProfileExpectation expected = LoadExpectation(path);
    simcard::SimCard& card = model_double::InsertCard(Reader, path);
    CCardReader& reader = ListedReader();
    const SimReadout readout = ReadSim(reader, expected.pin);
    ExpectReadoutMatches(readout, expected);
    EXPECT_EQ(card.Counts().writes, 0u);
    EXPECT_GE(card.Counts().resets, 1u); // Connect resets the card
    // One-byte record numbers: no file is read past record 255, whatever its header claims.
    EXPECT_LE(card.Counts().byInstruction[0xB2], 3u * MaxRecordNumber);
}

TEST_F(ModelDoubleTest, RecordsBeyondNumber255AreNeverAsked)
{
    // 300 empty SMS records announced.
    simcard::SimCard& card = model_double::InsertCard(Reader, simcard::ParseProfile(R"({
      "iccid": {"data": "98440500000000000021"}, "pin1": {"enabled": false},
      "sms": {"recordLength": 176, "recordCount": 300}
    })"));
    const SimReadout readout = ReadSim(ListedReader(), u"");
    ASSERT_TRUE(readout.isGsm);
    EXPECT_EQ(readout.sms.messages.size(), 0u);
    EXPECT_EQ(readout.smsResult, 0);
    EXPECT_EQ(card.Counts().byInstruction[0xB2], 255u);
}

INSTANTIATE_TEST_SUITE_P(Profiles, ProfileReadTest,
                         ::testing::Values("demo", "pin1-disabled", "pin1-blocked", "no-dfgsm", "no-iccid",
                                           "fdn-length14", "full", "hostile", "usim", "usim-only"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 c = c == '-' ? '_' : c;
                             return name;
                         });

TEST_F(ModelDoubleTest, SecondConnectResetsTheCard)
{
    model_double::InsertCard(Reader, model_double::ProfilePath("demo"));
    CCardReader& reader = ListedReader();
    ASSERT_EQ(reader.Connect(SCARD_PROTOCOL_T0), 0);
    ASSERT_EQ(reader.SelectFile(0x7F20), 0);
    ASSERT_EQ(reader.SelectFile(0x6F07), 0);
    ASSERT_EQ(reader.VerifyPin1(u"1234"), 0);
    uint8_t imsi[9];
    EXPECT_EQ(reader.ReadBinary(9, imsi), 0);

    ASSERT_EQ(reader.Connect(SCARD_PROTOCOL_T0), 0);
    EXPECT_EQ(reader.SelectFile(0x6F07), sc::FileNotFound); // back at the MF
    ASSERT_EQ(reader.SelectFile(0x7F20), 0);
    ASSERT_EQ(reader.SelectFile(0x6F07), 0);
    EXPECT_EQ(reader.ReadBinary(9, imsi), sc::Unexpected); // 98 04: the PIN no longer holds
}

// The number of commands a whole read of the demo card sends.
uint64_t CommandsOfAWholeRead()
{
    fake_pcsc::Reset();
    fake_pcsc::SetReaders({Reader});
    simcard::SimCard& card = model_double::InsertCard(Reader, model_double::ProfilePath("demo"));
    CCardReaderList list;
    list.ListReaders();
    ReadSim(*list.GetReader(0), u"1234");
    return card.Counts().commands;
}

TEST_F(ModelDoubleTest, CardPulledAfterEachCommandKeepsWhatWasRead)
{
    const ProfileExpectation expected = LoadExpectation(model_double::ProfilePath("demo"));
    const uint64_t total = CommandsOfAWholeRead();
    ASSERT_GT(total, 40u);
    for (uint64_t n = 0; n < total; ++n) {
        SCOPED_TRACE("card pulled after " + std::to_string(n) + " commands");
        fake_pcsc::Reset();
        fake_pcsc::SetReaders({Reader});
        model_double::InsertCard(Reader, model_double::ProfilePath("demo"));
        model_double::RemoveCardAfter(Reader, n);
        CCardReaderList list;
        ASSERT_EQ(list.ListReaders(), 0);
        CCardReader& reader = *list.GetReader(0);
        const SimReadout readout = ReadSim(reader, expected.pin);
        ExpectPartialReadoutConsistent(readout, expected);
        // The card is gone: the next command fails in the transport.
        EXPECT_TRUE(IsTransportError(reader.SelectFile(0x3F00)));
        EXPECT_FALSE(reader.IsCardPresent());
    }
}

} // namespace
