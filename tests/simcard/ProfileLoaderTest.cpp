// Profiles: what the JSON says is what the card holds; mistakes are reported.
#include <gtest/gtest.h>

#include "ModelTestSupport.h"

using namespace model_test;
using simcard::ParseProfile;
using simcard::ProfileError;

namespace {

TEST(ProfileLoader, LeavesOutWhatTheProfileLeavesOut)
{
    simcard::SimCard card(ParseProfile(R"({"dfTelecom": false, "pin1": {"enabled": false}})"));
    EXPECT_EQ(Send(card, "A0 A4 00 00 02 2F E2"), "94 04");
    EXPECT_EQ(Send(card, "A0 A4 00 00 02 7F 10"), "94 04");
    EXPECT_EQ(Send(card, "A0 A4 00 00 02 7F 20"), "9F 14"); // no CHV2: 20 bytes
    EXPECT_EQ(Send(card, "A0 A4 00 00 02 6F 07"), "94 04");
}

TEST(ProfileLoader, ReadsConditionsByNameOrNumber)
{
    const simcard::CardProfile profile = ParseProfile(R"({
      "iccid": {"data": "00", "read": "CHV2", "update": 3},
      "adn": {"recordLength": 20, "recordCount": 1, "read": "NEV", "update": "ADM"}
    })");
    ASSERT_TRUE(profile.iccid && profile.adn);
    EXPECT_EQ(profile.iccid->access.read, simcard::access::Chv2);
    EXPECT_EQ(profile.iccid->access.update, 3);
    EXPECT_EQ(profile.adn->access.read, simcard::access::Never);
    EXPECT_EQ(profile.adn->access.update, simcard::access::Adm);
}

TEST(ProfileLoader, DefaultsAreThoseOfAGsmSim)
{
    const simcard::CardProfile profile = ParseProfile(R"({
      "iccid": {"data": "00"}, "imsi": {"data": "00"},
      "adn": {"recordLength": 20}, "fdn": {"recordLength": 20}, "sms": {"recordLength": 176}
    })");
    EXPECT_EQ(profile.iccid->access.read, simcard::access::Always);
    EXPECT_EQ(profile.imsi->access.read, simcard::access::Chv1);
    EXPECT_EQ(profile.adn->access.update, simcard::access::Chv1);
    EXPECT_EQ(profile.fdn->access.update, simcard::access::Chv2);
    EXPECT_TRUE(profile.chv1.present && profile.chv1.enabled);
    EXPECT_EQ(profile.chv1.attemptsLeft, 3);
    EXPECT_FALSE(profile.chv2.present);
    EXPECT_TRUE(profile.hasDfGsm && profile.hasDfTelecom);
}

struct BadProfile {
    const char* name;
    const char* json;
    const char* messagePart;
};

class BadProfileTest : public ::testing::TestWithParam<BadProfile> {};

TEST_P(BadProfileTest, IsRefusedWithAReason)
{
    try {
        ParseProfile(GetParam().json);
        FAIL() << "accepted";
    } catch (const ProfileError& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().messagePart), std::string::npos) << error.what();
    }
}

const BadProfile badProfiles[] = {
    {"NotJson", "{", "parse"},
    {"NotAnObject", "[]", "object"},
    {"OddHex", R"({"iccid": {"data": "123"}})", "odd"},
    {"NotHex", R"({"iccid": {"data": "12G4"}})", "hex digit"},
    {"MissingData", R"({"iccid": {}})", "data"},
    {"RecordLengthTooBig", R"({"adn": {"recordLength": 256}})", "recordLength"},
    {"MoreRecordsThanCount", R"({"adn": {"recordLength": 20, "recordCount": 1, "records": ["", ""]}})",
     "more records"},
    {"RecordsNotStrings", R"({"sms": {"recordLength": 20, "recordCount": 1, "records": [1]}})", "records"},
    {"UnknownCondition", R"({"imsi": {"data": "00", "read": "PIN1"}})", "read"},
    {"PinTooLong", R"({"pin1": {"value": "123456789"}})", "value"},
    {"TooManyAttempts", R"({"pin1": {"attempts": 16}})", "attempts"},
    {"FlagNotBoolean", R"({"dfGsm": 1})", "dfGsm"},
    {"NumberBeyondEveryType", R"({"atr": 1e999})", "number overflow"},
    {"ConditionBeyond32Bits", R"({"imsi": {"data": "00", "read": 4294967297}})", "read"},
    {"UiccNotAnObject", R"({"uicc": []})", "object"},
    {"UiccPathOutsideTheMf", R"({"uicc": {"files": [{"path": "7F10"}]}})", "3F00"},
    {"UiccUnknownType", R"({"uicc": {"files": [{"path": "3F00/6F07", "type": "tree"}]}})", "type"},
    {"UiccFcpOverrunsItself", R"({"uicc": {"files": [{"path": "3F00/6F07", "fcp": "6205820241"}]}})", "FCP"},
    {"UiccSfiBeyond30", R"({"uicc": {"files": [{"path": "3F00/6F07", "data": "00", "sfi": 31}]}})", "sfi"},
    {"UiccRecordNotHex", R"({"uicc": {"files": [{"path": "3F00/6F3A", "records": [7]}]}})", "hex"},
    {"DumpFilesNeitherObjectNorList", R"({"files": 3})", "files"},
    {"DumpBodyNotHex", R"({"files": [{"path": ["MF", "EF.X"], "fcp_raw": "62038302 6F07", "body": "zz"}]})", "body"},
};

INSTANTIATE_TEST_SUITE_P(Profiles, BadProfileTest, ::testing::ValuesIn(badProfiles),
                         [](const auto& info) { return std::string(info.param.name); });

// Every shipped profile loads, and is a card that answers SELECT MF.
class ShippedProfileTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedProfileTest, LoadsAndAnswers)
{
    const std::string path = std::string(VELMORA_PROFILES_DIR) + "/" + GetParam() + ".json";
    simcard::SimCard card(simcard::LoadProfile(path));
    // A USIM-only card refuses class A0 and answers the MF's FCP to class 00.
    const std::string gsm = StatusWord(Send(card, "A0 A4 00 00 02 3F 00"));
    if (gsm == "6E 00")
        EXPECT_EQ(StatusWord(Send(card, "00 A4 00 04 02 3F 00 00")).substr(0, 2), "61");
    else
        EXPECT_EQ(gsm.substr(0, 2), "9F");
}

INSTANTIATE_TEST_SUITE_P(Profiles, ShippedProfileTest,
                         ::testing::Values("demo", "pin1-disabled", "pin1-blocked", "no-dfgsm", "no-iccid",
                                           "fdn-length14", "full", "hostile", "rich", "sms", "usim",
                                           "usim-only", "usim-full"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 c = c == '-' ? '_' : c;
                             return name;
                         });

TEST(ProfileLoader, MissingFileNamesThePath)
{
    EXPECT_THROW(simcard::LoadProfile("/nonexistent/card.json"), ProfileError);
}

} // namespace
