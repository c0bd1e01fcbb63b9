// Reading a UICC file through the T=0 and status-word rules, byte for byte:
// the FCP after 61 xx, Le FF for 255-byte records, long transparent files
// in parts, 6C xx, 91 xx taken as success (and nothing fetched), and the
// states of files the card lacks or refuses.
#include "CardTest.h"
#include "card/UiccFileReader.h"
#include "card/UiccReader.h"

#include <algorithm>

namespace {

using namespace card_test;

struct Case {
    const char* name;
    std::vector<fake_pcsc::Exchange> script;
    FileState state;
    std::vector<size_t> sizes;      // of the records (one entry: a transparent file's body)
    uint16_t refusal;               // the status word logged as a refusal, 0 for none
};
CARD_TEST_PRINTS_NAME(Case)

const char* const SelectSms = "00 A4 00 04 02 6F 3C 00";
const char* const SmsFcp = "62 0B 82 05 42 21 00 FF 02 83 02 6F 3C"; // 2 records of 255 bytes
const char* const ImsiFcp = "62 0C 82 02 41 21 83 02 6F 07 80 02 01 2C"; // transparent, 300 bytes

const Case Cases[] = {
    {"fcp_after_61xx_records_of_255_with_le_ff_and_91xx_is_success",
     {{H(SelectSms), H("61 0D")},
      {H("00 C0 00 00 0D"), WithSw(H(SmsFcp))},
      {H("00 B2 01 04 FF"), Filled(255, 0x01)},
      {H("00 B2 02 04 FF"), Filled(255, 0x02, 0x9110)}},
     FileState::Read, {255, 255}, 0},
    {"transparent_over_255_bytes_in_two_reads",
     {{H(SelectSms), WithSw(H(ImsiFcp))},
      {H("00 B0 00 00 FF"), Filled(255, 0x11)},
      {H("00 B0 00 FF 2D"), Filled(45, 0x22)}},
     FileState::Read, {300}, 0},
    {"6cxx_resends_with_the_length_named",
     {{H(SelectSms), WithSw(H("62 0B 82 05 42 21 00 1C 01 83 02 6F 3B"))},
      {H("00 B2 01 04 1C"), H("6C 1A")},
      {H("00 B2 01 04 1A"), Filled(26, 0xFF)}},
     FileState::Read, {26}, 0},
    {"refused_read", {{H(SelectSms), WithSw(H(ImsiFcp))}, {H("00 B0 00 00 FF"), H("69 82")}}, FileState::Refused, {0}, 0x6982},
    {"deactivated_read", {{H(SelectSms), WithSw(H(ImsiFcp))}, {H("00 B0 00 00 FF"), H("69 84")}}, FileState::Refused, {0}, 0x6984},
    {"absent", {{H(SelectSms), H("6A 82")}}, FileState::Absent, {}, 0},
    {"ber_tlv_file_is_not_read", {{H(SelectSms), WithSw(H("62 07 82 02 39 21 83 02 6F 3C"))}}, FileState::Unusable, {}, 0},
};

class UiccFileReaderTest : public ConnectedCardTest, public ::testing::WithParamInterface<Case> {};

TEST_P(UiccFileReaderTest, ReadsAsTheCardAnswers)
{
    const Case& c = GetParam();
    fake_pcsc::ExpectExchanges(c.script);
    UiccCommands commands(*reader);
    RawCardFile file;
    UiccWalkLog log;
    EXPECT_EQ(ReadUiccFile(commands, 0x6F3C, 1, file, log), 0);
    EXPECT_EQ(file.state, c.state);
    std::vector<size_t> sizes;
    for (const auto& record : file.records)
        sizes.push_back(record.size());
    EXPECT_EQ(sizes, c.sizes);
    EXPECT_EQ(log.refused.empty(), c.refusal == 0);
    if (!log.refused.empty()) {
        EXPECT_EQ(log.refused.front().statusWord, c.refusal);
    }
}

INSTANTIATE_TEST_SUITE_P(Card, UiccFileReaderTest, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

namespace {

using namespace card_test;

// A card that refuses class 00 after the dialog's read is reset once and
// asked again (it may keep to class A0 until reset); one that never
// answered class A0 was connected afresh and is asked once.
TEST_F(ConnectedCardTest, UiccProbeResetsOnlyACardThatAnsweredClassA0)
{
    for (const bool gsmAnswered : {true, false}) {
        SCOPED_TRACE(gsmAnswered ? "after a GSM read" : "after Incompatible card");
        fake_pcsc::ClearCalls();
        fake_pcsc::ExpectExchanges({{H("00 A4 00 04 02 3F 00 00"), H("6E 00")}});
        if (gsmAnswered)
            fake_pcsc::ExpectExchanges({{H("00 A4 00 04 02 3F 00 00"), H("6E 00")}});
        CardContent content;
        EXPECT_EQ(ReadUicc(*reader, gsmAnswered, UiccPinSource{}, content), 0);
        EXPECT_EQ(content.kind, CardKind::Gsm);
        EXPECT_FALSE(content.uicc);
        const std::vector<std::string> names = fake_pcsc::CallNames();
        EXPECT_EQ(std::count(names.begin(), names.end(), "SCardReconnect"), gsmAnswered ? 1 : 0);
        fake_pcsc::ExpectScriptDone();
    }
}

} // namespace
