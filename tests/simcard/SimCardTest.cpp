// The card model answers as a GSM SIM does, byte for byte.
#include <gtest/gtest.h>

#include <tuple>

#include "ModelTestSupport.h"
#include "tools/simcard/StatusWords.h"

using namespace model_test;
using simcard::CardProfile;
using simcard::SimCard;

namespace {

// A small card: ICCID, IMSI behind CHV1, ADN of 3 records of 20 bytes with
// one used, PIN1 1234 with 3 attempts, PIN2 5678.
CardProfile SmallProfile()
{
    return simcard::ParseProfile(R"({
      "iccid": {"data": "98440500000000000021"},
      "imsi": {"data": "082943518967452301"},
      "pin1": {"value": "1234", "enabled": true, "attempts": 3},
      "pin2": {"present": true, "value": "5678", "attempts": 2},
      "adn": {"recordLength": 20, "recordCount": 3,
              "records": ["416E6E61FFFF03912143FFFFFFFFFFFFFFFFFFFF"]},
      "sms": {"recordLength": 176, "recordCount": 2, "read": "ALW"}
    })");
}

// Answers of usim.json: the MF's FCP (PIN1 enabled), the first 16 bytes
// of the USIM's (no file id), EF_IMSI's, and record 1 of set 1's ADN.
#define MfFcp "62 1E 82 02 78 21 83 02 3F 00 8A 01 05 8B 03 2F 06 01 C6 0C 90 01 E0 83 01 01 83 01 0A 83 01 0B 90 00"
#define AdfFcpHead "62 2B 82 02 78 21 84 0C A0 00 00 00 87 10 02 FF 61 1D"
#define ImsiFcp "62 17 82 02 41 21 83 02 6F 07 8A 01 05 8B 03 6F 06 02 80 02 00 09 88 01 38 90 00"
#define AliceRecord "41 6C 69 63 65 20 4D 61 72 74 69 6E FF FF 08 91 94 51 11 32 54 76 F8 FF FF FF FF FF 90 00"

const std::string VerifyPin1234 = "A0 20 00 01 08 31 32 33 34 FF FF FF FF";
const std::string VerifyPin9999 = "A0 20 00 01 08 39 39 39 39 FF FF FF FF";

struct Exchange {
    const char* command;
    const char* response; // full response, or only the status word when `statusOnly`
    bool statusOnly = false;
};

struct Scenario {
    const char* name;
    std::vector<Exchange> exchanges;
    const char* profile = nullptr; // a shipped profile; none: SmallProfile()
};

CardProfile ShippedProfile(const std::string& name)
{
    return simcard::LoadProfile(std::string(VELMORA_PROFILES_DIR) + "/" + name + ".json");
}

class ExchangeTest : public ::testing::TestWithParam<Scenario> {};

TEST_P(ExchangeTest, AnswersEachCommandAsExpected)
{
    SimCard card(GetParam().profile ? ShippedProfile(GetParam().profile) : SmallProfile());
    card.Reset();
    int step = 0;
    for (const Exchange& exchange : GetParam().exchanges) {
        const std::string response = Send(card, exchange.command);
        EXPECT_EQ(exchange.statusOnly ? StatusWord(response) : response, exchange.response)
            << "step " << step << ": " << exchange.command;
        ++step;
    }
}

// clang-format off
const Scenario scenarios[] = {
    {"ElementaryFileHeader", {
        {"A0 A4 00 00 02 2F E2", "9F 0F"},
        {"A0 C0 00 00 0F", "00 00 00 0A 2F E2 04 00 0F F0 44 01 02 00 00 90 00"},
    }},
    {"RecordFileHeader", {
        {"A0 A4 00 00 02 7F 10", "9F 17"},
        {"A0 A4 00 00 02 6F 3A", "9F 0F"},
        {"A0 C0 00 00 0F", "00 00 00 3C 6F 3A 04 00 11 F0 44 01 02 01 14 90 00"},
    }},
    {"MasterFileResponseInFull", {
        {"A0 A4 00 00 02 3F 00", "9F 17"},
        {"A0 C0 00 00 17", "00 00 0B B8 3F 00 01 00 00 00 00 00 0A 13 02 01 04 00 83 8A 82 8A 00 90 00"},
    }},
    {"DirectoryResponseCutToFifteen", {
        {"A0 A4 00 00 02 7F 20", "9F 17"},
        {"A0 C0 00 00 0F", "00 00 0B B8 7F 20 02 00 00 00 00 00 0A 13 00 90 00"},
    }},
    {"GetResponseLongerThanWaiting", {
        {"A0 A4 00 00 02 2F E2", "9F 0F"},
        {"A0 C0 00 00 10", "67 0F"},
    }},
    {"GetResponseWithNothingWaiting", {
        {"A0 C0 00 00 0F", "6F 00"},
        {"A0 A4 00 00 02 2F E2", "9F 0F"},
        {"A0 B0 00 00 0A", "90 00", true},
        {"A0 C0 00 00 0F", "6F 00"},
    }},
    {"StatusOfCurrentDirectory", {
        {"A0 F2 00 00 0D", "00 00 0B B8 3F 00 01 00 00 00 00 00 0A 90 00"},
        {"A0 F2 00 00 17", "00 00 0B B8 3F 00 01 00 00 00 00 00 0A 13 02 01 04 00 83 8A 82 8A 00 90 00"},
        {"A0 F2 00 00 18", "67 17"},
        {"A0 A4 00 00 02 7F 10", "9F 17"},
        {"A0 A4 00 00 02 6F 3A", "9F 0F"},
        {"A0 F2 00 00 06", "00 00 0B B8 7F 10 90 00"}, // an EF's directory is its parent
    }},
    {"TrailingLeOfCaseFourSelectDropped", {
        {"A0 A4 00 00 02 3F 00 00", "9F 17"},
        {"A0 20 00 01 08 31 32 33 34 FF FF FF FF 00", "90 00"},
    }},
    {"WrongLengths", {
        {"A0 A4 00 00 03 3F 00 00", "67 02"},
        {"A0 A4 00 00 02 3F", "67 00"},
        {"A0 A4 00 00 02 2F E2", "9F 0F"},
        {"A0 B0 00 00 0B", "67 0A"},
        {"A0 B0 00 00 00", "67 0A"},
        {"A0 20 00 01 04 31 32 33 34", "67 08"},
        {"A0 A4", "67 00"},
    }},
    {"ReadBinaryRange", {
        {"A0 A4 00 00 02 2F E2", "9F 0F"},
        {"A0 B0 00 00 0A", "98 44 05 00 00 00 00 00 00 21 90 00"},
        {"A0 B0 00 08 02", "00 21 90 00"},
        {"A0 B0 00 08 03", "67 02"},
        {"A0 B0 00 0A 01", "94 02"},
    }},
    {"CommandsThatDoNotFitTheFile", {
        {"A0 B0 00 00 01", "94 00"},
        {"A0 B2 01 04 14", "94 00"},
        {"A0 A4 00 00 02 2F E2", "9F 0F"},
        {"A0 B2 01 04 0A", "94 08"},
        {"A0 A4 00 00 02 7F 10", "9F 17"},
        {"A0 B0 00 00 01", "94 00"},
        {"A0 A4 00 00 02 6F 3A", "9F 0F"},
        {"A0 B0 00 00 01", "94 08"},
    }},
    {"Selection", {
        {"A0 A4 00 00 02 6F 07", "94 04"},  // EF_IMSI is not a child of the MF
        {"A0 A4 00 00 02 7F 20", "9F 17"},
        {"A0 A4 00 00 02 7F 10", "9F 17"},  // a sibling directory
        {"A0 A4 00 00 02 2F E2", "94 04"},  // not a child of DF_TELECOM
        {"A0 A4 00 00 02 6F 3A", "9F 0F"},
        {"A0 A4 00 00 02 6F 3C", "9F 0F"},  // EF next to the current EF
        {"A0 A4 00 00 02 6F 3B", "94 04"},  // no FDN on this card
        {"A0 A4 00 00 02 7F 10", "9F 17"},  // the current directory
        {"A0 A4 00 00 02 3F 00", "9F 17"},
        {"A0 A4 01 00 02 3F 00", "6B 00"},
    }},
    {"ClassAndInstruction", {
        {"00 A4 00 00 02 3F 00", "6E 00"},
        {"A0 88 00 00 10", "6D 00"},
        {"A0 FA 00 00 00", "6D 00"},
    }},
    {"ReadRecord", {
        {"A0 A4 00 00 02 7F 10", "9F 17"},
        {"A0 A4 00 00 02 6F 3A", "9F 0F"},
        {"A0 B2 01 04 14", "98 04"},
        {VerifyPin1234.c_str(), "90 00"},
        {"A0 B2 01 04 14", "41 6E 6E 61 FF FF 03 91 21 43 FF FF FF FF FF FF FF FF FF FF 90 00"},
        {"A0 B2 03 04 14", "FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF 90 00"},
        {"A0 B2 00 04 14", "90 00", true},  // the current record: 3
        {"A0 B2 04 04 14", "94 02"},
        {"A0 B2 01 04 1C", "67 14"},
        {"A0 B2 01 02 14", "6B 00"},
        {"A0 A4 00 00 02 6F 3C", "9F 0F"},
        {"A0 B2 00 04 B0", "94 02"},        // no current record after SELECT
    }},
    // Next and previous move from the current record; at either end of the
    // file they fail and the current record stays.
    {"ReadRecordModes", {
        {"A0 A4 00 00 02 7F 10", "9F 17"},
        {"A0 A4 00 00 02 6F 3A", "9F 0F"},
        {VerifyPin1234.c_str(), "90 00"},
        {"A0 B2 00 03 14", "FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF 90 00"}, // none: the last, 3
        {"A0 B2 00 03 14", "90 00", true},  // 2
        {"A0 B2 00 03 14", "41 6E 6E 61 FF FF 03 91 21 43 FF FF FF FF FF FF FF FF FF FF 90 00"}, // 1
        {"A0 B2 00 03 14", "94 02"},        // nothing before the first
        {"A0 B2 00 04 14", "41 6E 6E 61 FF FF 03 91 21 43 FF FF FF FF FF FF FF FF FF FF 90 00"}, // still 1
        {"A0 B2 00 02 1C", "67 14"},
        {"A0 B2 00 02 14", "90 00", true},  // 2
        {"A0 B2 00 02 14", "90 00", true},  // 3
        {"A0 B2 00 02 14", "94 02"},        // nothing after the last
        {"A0 B2 00 03 14", "90 00", true},  // 2
        {"A0 B2 00 03 14", "41 6E 6E 61 FF FF 03 91 21 43 FF FF FF FF FF FF FF FF FF FF 90 00"},
        {"A0 B2 02 03 14", "6B 00"},        // next and previous take P1 00
        {"A0 B2 00 05 14", "6B 00"},
        {"A0 A4 00 00 02 6F 3A", "9F 0F"},  // SELECT clears the current record
        {"A0 B2 00 02 14", "41 6E 6E 61 FF FF 03 91 21 43 FF FF FF FF FF FF FF FF FF FF 90 00"},
    }},
    {"AccessConditions", {
        {"A0 A4 00 00 02 7F 20", "9F 17"},
        {"A0 A4 00 00 02 6F 07", "9F 0F"},
        {"A0 B0 00 00 09", "98 04"},
        {VerifyPin9999.c_str(), "98 04"},
        {"A0 B0 00 00 09", "98 04"},
        {VerifyPin1234.c_str(), "90 00"},
        {"A0 B0 00 00 09", "08 29 43 51 89 67 45 23 01 90 00"},
    }},
    {"Chv1CounterAndBlocking", {
        {VerifyPin9999.c_str(), "98 04"},
        {"A0 F2 00 00 17", "00 00 0B B8 3F 00 01 00 00 00 00 00 0A 13 02 01 04 00 82 8A 82 8A 00 90 00"},
        {VerifyPin1234.c_str(), "90 00"},  // a correct PIN restores the counter
        {"A0 F2 00 00 17", "00 00 0B B8 3F 00 01 00 00 00 00 00 0A 13 02 01 04 00 83 8A 82 8A 00 90 00"},
        {VerifyPin9999.c_str(), "98 04"},
        {VerifyPin9999.c_str(), "98 04"},
        {VerifyPin9999.c_str(), "98 40"},
        {VerifyPin1234.c_str(), "98 40"},  // blocked: even the right PIN fails
        {"A0 F2 00 00 17", "00 00 0B B8 3F 00 01 00 00 00 00 00 0A 13 02 01 04 00 80 8A 82 8A 00 90 00"},
    }},
    {"Chv2", {
        {"A0 20 00 02 08 35 36 37 38 FF FF FF FF", "90 00"},
        {"A0 20 00 02 08 35 36 37 39 FF FF FF FF", "98 04"},
        {"A0 20 00 03 08 35 36 37 38 FF FF FF FF", "6B 00"},
    }},
    // The UICC of usim.json (class 00, T=0): FCPs through 61 xx and GET RESPONSE.
    {"UiccSelectByIdAndAid", {
        {"00 A4 00 04 02 3F 00 00", "61 20"},
        {"00 C0 00 00 00", "6C 20"},
        {"00 C0 00 00 20", MfFcp},
        {"00 C0 00 00 20", "69 85"},        // nothing waits any more
        {"00 A4 00 0C 02 6F 07", "6A 82"},  // not a child of the MF
        {"00 A4 00 0C 02 7F FF", "6A 82"},  // no application selected yet
        {"00 A4 04 04 07 A0 00 00 00 87 10 02 00", "61 2D"}, // a partial AID
        {"00 C0 00 00 10", AdfFcpHead},     // a part; the rest still waits
        {"00 C0 00 00 1D", "90 00", true},
        {"00 A4 04 0C 0C A0 00 00 00 87 10 02 FF 49 FF 05 89", "90 00"},
        {"00 A4 04 0C 07 A0 00 00 00 87 10 09", "6A 82"},
        {"00 A4 00 04 02 6F 07 00", "61 19"},
        {"00 C0 00 00 19", ImsiFcp},
        {"00 A4 00 00 02 6F 07", "6A 86"},  // P2 00 (FCI) is not offered
        {"00 A4 02 04 02 6F 07", "6A 86"},
        {"00 A4 00 04 03 6F 07", "67 00"},
    }, "usim"},
    {"UiccSelectByPathAndParent", {
        {"00 A4 08 0C 04 7F 10 5F 3A", "90 00"},
        {"00 A4 09 0C 02 4F 30", "90 00"},  // from the current directory
        {"00 A4 03 0C", "90 00"},           // parent: DF_TELECOM
        {"00 A4 01 0C 02 5F 3A", "90 00"},  // child directory
        {"00 A4 01 0C 02 4F 30", "6A 82"},  // not a directory
        {"00 A4 08 0C 04 7F FF 6F 07", "6A 82"},
        {"00 A4 04 0C 07 A0 00 00 00 87 10 02", "90 00"},
        {"00 A4 08 0C 06 7F FF 5F 3A 4F 30", "90 00"}, // the local phone book
        {"00 A4 08 0C 03 7F FF 6F", "67 00"},
        {"00 A4 08 0C 04 3F 00 7F 10", "6A 82"}, // the MF is not part of a path
    }, "usim"},
    {"UiccReadBinaryAndSfi", {
        {"00 A4 04 0C 07 A0 00 00 00 87 10 02", "90 00"},
        {"00 B0 00 00 09", "69 86"},        // no EF selected
        {"00 B0 87 00 09", "69 82"},        // IMSI by SFI 7: PIN1 first
        {"00 20 00 01 08 31 32 33 34 FF FF FF FF", "90 00"},
        {"00 B0 87 00 09", "08 29 43 51 00 00 00 00 86 90 00"},
        {"00 B0 00 07 02", "00 86 90 00"},  // the SFI made it the current EF
        {"00 B0 00 07 00", "6C 02"},
        {"00 B0 00 09 01", "6B 00"},
        {"00 B0 9D 00 01", "6A 82"},        // no file of SFI 29
        {"00 B0 C7 00 01", "6A 86"},
        {"00 A4 00 0C 02 6F 3E", "90 00"},  // deactivated
        {"00 B0 00 00 02", "69 84"},
        {"00 A4 00 0C 02 6F 57", "90 00"},  // administrator only
        {"00 B0 00 00 08", "69 82"},
        {"00 A4 00 0C 02 6F 3C", "90 00"},
        {"00 B0 00 00 01", "69 81"},        // a record file
    }, "usim"},
    {"UiccReadRecordAndSfi", {
        {"00 A4 08 0C 04 7F 10 5F 3A", "90 00"},
        {"00 20 00 01 08 31 32 33 34 FF FF FF FF", "90 00"},
        {"00 B2 01 0C 1C", AliceRecord},     // ADN of set 1 by SFI 1
        {"00 B2 01 0C 00", "6C 1C"},
        {"00 B2 0B 0C 1C", "6A 83"},         // 10 records
        {"00 B2 00 04 1C", AliceRecord},     // the current record of the current EF
        {"00 B2 00 02 1C", "90 00", true},   // next
        {"00 B2 01 FC 1C", "6A 86"},
        {"00 B2 01 EC 1C", "6A 82"},         // no file of SFI 29
        {"00 B2 01 05 1C", "6A 86"},
        {"00 B2 01 34 01", "02 90 00"},      // IAP (SFI 6): the e-mail in record 2
        {"00 B2 01 54 03", "01 00 00 90 00"}, // GRP (SFI 10): group 1
    }, "usim"},
    {"UiccStatus", {
        {"80 F2 00 00 20", MfFcp},
        {"80 F2 00 00 00", "6C 20"},
        {"80 F2 00 0C 00", "90 00"},
        {"00 F2 00 00 20", "6E 00"},
        {"80 F2 03 00 20", "6A 86"},
        {"80 F2 00 01 0E", "69 85"},         // no application yet
        {"00 A4 04 0C 07 A0 00 00 00 87 10 02", "90 00"},
        {"80 F2 00 01 0E", "84 0C A0 00 00 00 87 10 02 FF 49 FF 05 89 90 00"},
        {"00 A4 00 0C 02 6F 07", "90 00"},
        {"80 F2 00 00 2D", "90 00", true},   // an EF's directory: the application
        {"80 B0 00 00 01", "6D 00"},         // class 80 is for STATUS only
        {"01 A4 00 0C 02 3F 00", "6E 00"},   // logical channels are not offered
    }, "usim"},
    // PIN tries without spending one, shared with the GSM view; PIN2 is the application's.
    {"UiccVerifyAndUnblock", {
        {"00 20 00 01", "63 C3"},
        {"00 20 00 81", "6A 88"},            // no application selected
        {"00 20 00 0A", "6A 88"},
        {"00 2C 00 01", "63 CA"},
        {"00 20 00 01 08 39 39 39 39 FF FF FF FF", "63 C2"},
        {"A0 20 00 01 08 39 39 39 39 FF FF FF FF", "98 04"},
        {"00 20 00 01 00", "63 C1"},
        {"00 20 00 01 08 31 32 33 34 FF FF FF FF", "90 00"},
        {"00 20 00 01", "63 C3"},
        {"00 20 00 01 04 31 32 33 34", "67 00"},
        {"00 A4 04 0C 07 A0 00 00 00 87 10 02", "90 00"},
        {"00 20 00 81", "63 C3"},
        {"00 2C 00 81", "63 C9"},
        {"00 20 00 81 08 39 39 39 39 FF FF FF FF", "63 C2"},
        {"00 20 00 81 08 39 39 39 39 FF FF FF FF", "63 C1"},
        {"00 20 00 81 08 39 39 39 39 FF FF FF FF", "63 C0"},
        {"00 20 00 81 08 35 36 37 38 FF FF FF FF", "69 83"}, // blocked: even the right one
        {"00 20 00 81", "69 83"},
    }, "usim"},
    {"UsimOnlyRefusesClassA0", {
        {"A0 A4 00 00 02 3F 00", "6E 00"},
        {"A0 F2 00 00 17", "6E 00"},
        {"A0 20 00 01 08 31 32 33 34 FF FF FF FF", "6E 00"},
        {"00 A4 00 04 02 3F 00 00", "61 20"},
        {"00 A4 00 0C 02 7F 20", "6A 82"},   // no DF_GSM
        {"00 A4 08 0C 04 7F 10 6F 3A", "6A 82"}, // no GSM copy of the ADN
        {"00 A4 08 0C 04 7F 10 5F 3A", "90 00"},
    }, "usim-only"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Model, ExchangeTest, ::testing::ValuesIn(scenarios),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SimCardReset, ForgetsVerificationAndReturnsToTheMf)
{
    SimCard card(SmallProfile());
    EXPECT_EQ(Send(card, VerifyPin1234), "90 00");
    EXPECT_EQ(Send(card, "A0 A4 00 00 02 7F 20"), "9F 17");
    card.Reset();
    EXPECT_EQ(Send(card, "A0 A4 00 00 02 6F 07"), "94 04"); // back at the MF
    EXPECT_EQ(Send(card, "A0 A4 00 00 02 7F 20"), "9F 17");
    EXPECT_EQ(Send(card, "A0 A4 00 00 02 6F 07"), "9F 0F");
    EXPECT_EQ(Send(card, "A0 B0 00 00 09"), "98 04");
    EXPECT_EQ(card.Counts().resets, 1u);
}

TEST(SimCardWrites, EveryWritingCommandIsRefusedAndCounted)
{
    const char* writes[] = {
        "A0 D6 00 00 01 00",                           // UPDATE BINARY
        "A0 DC 01 04 14 00",                           // UPDATE RECORD
        "A0 32 00 00 03 00 00 01",                     // INCREASE
        "A0 04 00 00 00",                              // INVALIDATE
        "A0 44 00 00 00",                              // REHABILITATE
        "A0 24 00 01 10 31 32 33 34 FF FF FF FF 30 30 30 30 FF FF FF FF", // CHANGE CHV
        "A0 26 00 01 08 31 32 33 34 FF FF FF FF",      // DISABLE CHV
        "A0 28 00 01 08 31 32 33 34 FF FF FF FF",      // ENABLE CHV
        "A0 2C 00 00 10 31 32 33 34 35 36 37 38 31 32 33 34 FF FF FF FF", // UNBLOCK CHV
        "00 D6 00 00 01 00",                           // another class is still a write
    };
    SimCard card(SmallProfile());
    EXPECT_EQ(Send(card, VerifyPin1234), "90 00");
    EXPECT_EQ(Send(card, "A0 A4 00 00 02 2F E2"), "9F 0F");
    for (const char* command : writes)
        EXPECT_NE(StatusWord(Send(card, command)), "90 00") << command;
    EXPECT_EQ(card.Counts().writes, std::size(writes));
    EXPECT_EQ(card.Counts().commands, std::size(writes) + 2);
    EXPECT_EQ(Send(card, "A0 B0 00 00 0A"), "98 44 05 00 00 00 00 00 00 21 90 00");
    // The PIN was neither changed nor disabled.
    EXPECT_EQ(Send(card, VerifyPin1234), "90 00");
    EXPECT_EQ(card.Counts().byInstruction[0xD6], 2u);
}

TEST(SimCardCounts, SummaryNamesTotalsAndInstructions)
{
    SimCard card(SmallProfile());
    Send(card, "A0 A4 00 00 02 3F 00");
    Send(card, "A0 C0 00 00 0F");
    Send(card, "A0 C0 00 00 0F");
    EXPECT_EQ(card.Counts().Summary(), "commands=3 writes=0 resets=0 A4=1 C0=2");
}

struct ChvCase {
    const char* name;
    const char* pin1;
    const char* pin2;
    std::string verify1Response;
    std::string characteristicsAndCodes; // STATUS bytes 12.. in hex
};

class ChvStateTest : public ::testing::TestWithParam<ChvCase> {};

TEST_P(ChvStateTest, StatusAndVerifyFollowTheCodes)
{
    const ChvCase& c = GetParam();
    SimCard card(simcard::ParseProfile(std::string(R"({"pin1": )") + c.pin1 + R"(, "pin2": )" + c.pin2 + "}"));
    const std::string firstStatus = Send(card, "A0 F2 00 00 0D");
    const std::vector<uint8_t> first = H(firstStatus);
    ASSERT_EQ(first.size(), 15u);
    const std::string status = Send(card, "A0 F2 00 00 " + Hex({static_cast<uint8_t>(13 + first[12])}));
    EXPECT_EQ(status.substr(12 * 3), c.characteristicsAndCodes);
    EXPECT_EQ(Send(card, VerifyPin1234), c.verify1Response);
}

const ChvCase chvCases[] = {
    {"Enabled", R"({"value": "1234", "attempts": 3})", R"({"present": true, "attempts": 3})", "90 00",
     "0A 13 02 00 04 00 83 8A 83 8A 00 90 00"},
    {"Disabled", R"({"value": "1234", "enabled": false})", R"({"present": true})", "98 08",
     "0A 93 02 00 04 00 83 8A 83 8A 00 90 00"},
    {"BlockedWithoutPin2", R"({"value": "1234", "attempts": 0})", R"({"present": false})", "98 40",
     "07 13 02 00 02 00 80 8A 90 00"},
    // As most real SIMs without CHV2: its bytes are there, not initialised.
    {"ListedWithoutPin2", R"({"value": "1234", "attempts": 3})", R"({"present": false, "listedWhenAbsent": true})",
     "90 00", "09 13 02 00 04 00 83 8A 00 00 90 00"},
    {"FiveOfTenLeft", R"({"value": "1234", "attempts": 5, "maxAttempts": 10})", R"({"present": false})",
     "90 00", "07 13 02 00 02 00 85 8A 90 00"},
};

INSTANTIATE_TEST_SUITE_P(Model, ChvStateTest, ::testing::ValuesIn(chvCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SimCardAtr, OffersT0Only)
{
    const std::vector<uint8_t> atr = SimCard(CardProfile{}).Atr();
    ASSERT_GE(atr.size(), 4u);
    EXPECT_EQ(atr[0], 0x3B);                            // direct convention
    const unsigned historical = atr[1] & 0x0F;
    EXPECT_EQ(atr[1] & 0x80, 0);                        // no TD1: T=0 is the only protocol
    EXPECT_EQ(atr.size(), 2 + __builtin_popcount(atr[1] & 0xF0) + historical); // and no TCK
}

TEST(SimCardLies, HostileProfilesAnswerWhatTheyClaimNotWhatTheyHold)
{
    SimCard card(simcard::ParseProfile(R"({
      "pin1": {"enabled": false},
      "iccid": {"data": "9844", "size": 10},
      "adn": {"recordLength": 28, "recordCount": 2, "exactRecords": true, "records": ["41424344"]},
      "gsmDataLength": 240
    })"));
    EXPECT_EQ(Send(card, "A0 F2 00 00 0D"), "00 00 0B B8 3F 00 01 00 00 00 00 00 F0 90 00");
    EXPECT_EQ(Send(card, "A0 A4 00 00 02 2F E2"), "9F 0F");
    EXPECT_EQ(Send(card, "A0 B0 00 00 0A"), "98 44 90 00"); // 2 bytes although 10 were asked for
    EXPECT_EQ(Send(card, "A0 A4 00 00 02 7F 10"), "9F 14"); // no CHV2: 20 bytes
    EXPECT_EQ(Send(card, "A0 A4 00 00 02 6F 3A"), "9F 0F");
    EXPECT_EQ(Send(card, "A0 B2 01 04 1C"), "41 42 43 44 90 00");
    EXPECT_EQ(StatusWord(Send(card, "A0 B2 02 04 1C")), "90 00"); // not listed: an empty record
    EXPECT_EQ(card.Transmit(H("A0 B2 02 04 1C")).size(), 30u);
}

} // namespace

namespace {

// A small UICC without a GSM view: a record file of 255-byte records and a
// transparent file of 300 bytes.
CardProfile SmallUicc()
{
    return simcard::ParseProfile(R"({
      "pin1": {"value": "1234", "enabled": false},
      "uicc": {"gsm": false, "files": [
        {"path": "3F00"},
        {"path": "3F00/2F05", "recordLength": 255, "recordCount": 2, "records": ["AA"], "sfi": 5},
        {"path": "3F00/2F10", "data": ")" + std::string(600, '5') + R"("}
      ]}
    })");
}

TEST(UiccLengths, LeFollowsTheFileAndZeroMeans256)
{
    SimCard card(SmallUicc());
    EXPECT_EQ(StatusWord(Send(card, "00 B2 01 2C FF")), "90 00");      // Le FF for 255-byte records
    EXPECT_EQ(card.Transmit(H("00 B2 01 2C FF")).size(), 257u);
    EXPECT_EQ(Send(card, "00 B2 01 2C 00"), "6C FF");                  // 00 asks for 256
    EXPECT_EQ(Send(card, "00 A4 00 0C 02 2F 10"), "90 00");
    EXPECT_EQ(card.Transmit(H("00 B0 00 00 00")).size(), 258u);        // 256 bytes
    EXPECT_EQ(Send(card, "00 B0 01 00 00"), "6C 2C");                  // 44 left from offset 256
    EXPECT_EQ(StatusWord(Send(card, "00 B0 01 00 2C")), "90 00");
    EXPECT_EQ(Send(card, "00 B0 01 2C 01"), "6B 00");
}

TEST(UiccWrites, AreRefusedAndCountedInEveryClass)
{
    SimCard card(SmallUicc());
    const char* refused[] = {
        "00 D6 00 00 01 00", "00 DC 01 04 01 00", "00 2C 00 01 10 31 32 33 34 35 36 37 38 31 32 33 34 FF FF FF FF",
        "00 24 00 01 10 31 32 33 34 FF FF FF FF 30 30 30 30 FF FF FF FF", "80 10 00 00 01 00", "80 12 00 00 10",
        "80 C2 00 00 01 00", "A0 D6 00 00 01 00",
    };
    for (const char* command : refused)
        EXPECT_NE(StatusWord(Send(card, command)).substr(0, 2), "90") << command;
    EXPECT_EQ(card.Counts().writes, std::size(refused));
    EXPECT_EQ(Send(card, "00 2C 00 01"), "63 CA"); // UNBLOCK without data only reads the counter
    EXPECT_EQ(card.Counts().writes, std::size(refused));
}

// The GSM view of usim.json holds set 1 of the phone book (and its EXT1) and
// no other set, and shares the PIN counters with the UICC view.
TEST(UiccGsmView, MapsTheFirstSetOnly)
{
    SimCard card(ShippedProfile("usim"));
    EXPECT_EQ(Send(card, VerifyPin1234), "90 00");
    EXPECT_EQ(Send(card, "A0 A4 00 00 02 7F 10"), "9F 17");
    EXPECT_EQ(Send(card, "00 A4 08 0C 04 7F 10 5F 3A"), "90 00");
    for (const auto& [gsm, uicc, length] : {std::tuple{"6F 3A", "4F 3A", "1C"}, std::tuple{"6F 4A", "4F 4A", "0D"}}) {
        EXPECT_EQ(Send(card, std::string("A0 A4 00 00 02 ") + gsm), "9F 0F");
        EXPECT_EQ(Send(card, std::string("00 A4 00 0C 02 ") + uicc), "90 00");
        for (int record = 1; record <= 6; ++record) {
            const std::string p1 = Hex({static_cast<uint8_t>(record)});
            EXPECT_EQ(Send(card, "A0 B2 " + p1 + " 04 " + length), Send(card, "00 B2 " + p1 + " 04 " + length))
                << gsm << " record " << record;
        }
    }
    EXPECT_EQ(Send(card, "A0 A4 00 00 02 6F 3B"), "9F 0F");      // FDN, SMS: copies too
    EXPECT_EQ(Send(card, "A0 A4 00 00 02 4F 3B"), "94 04");      // set 2 is not mapped
    EXPECT_EQ(Send(card, "A0 20 00 01 08 39 39 39 39 FF FF FF FF"), "98 04");
    EXPECT_EQ(Send(card, "00 20 00 01"), "63 C2");
}

// A card dumped as JSON plays back: FCPs as dumped, bodies as read, a file
// without a body refused, directories the dump names without dumping made.
TEST(UiccDump, PlaysBackWhatWasDumped)
{
    SimCard card(simcard::ParseProfile(R"({"cmd": "fsdump", "files": {
      "MF": {"path": ["MF"], "fcp_raw": "622c8202782183023f00a50c80017183040003a7388701018a01058b032f0601c60c90016083010183010a83010b"},
      "MF/ADF.USIM": {"path": ["MF", "ADF.USIM"], "fcp_raw": "621e820278218410a0000000871002ffffffff89070900008a01058b032f0601"},
      "MF/ADF.USIM/EF.IMSI": {"path": ["MF", "ADF.USIM", "EF.IMSI"],
        "fcp_raw": "62178202412183026f078a01058b036f060a80020009880138", "body": "082943518967452301"},
      "MF/DF.TELECOM/EF.SMS": {"path": ["MF", "DF.TELECOM", "EF.SMS"],
        "fcp_raw": "6219820542210003028302 6f3c8a01058b036f060580020006 8800", "body": ["010203", "00ffff"]},
      "MF/EF.ARR": {"path": ["MF", "EF.ARR"], "fcp_raw": "62168202412183022f068a01058b032f0601800200108800"},
      "MF/EF.BAD": {"path": ["MF", "EF.BAD"], "body": "00"},
      "junk": 7
    }})"));
    EXPECT_EQ(Send(card, "A0 A4 00 00 02 3F 00"), "6E 00");
    EXPECT_EQ(Send(card, "00 A4 00 04 02 3F 00 00"), "61 2E");
    EXPECT_EQ(Send(card, "00 A4 04 0C 07 A0 00 00 00 87 10 02"), "90 00");
    EXPECT_EQ(Send(card, "00 B0 87 00 09"), "08 29 43 51 89 67 45 23 01 90 00");
    EXPECT_EQ(Send(card, "00 A4 08 0C 04 7F 10 6F 3C"), "90 00");
    EXPECT_EQ(Send(card, "00 B2 02 04 03"), "00 FF FF 90 00");
    EXPECT_EQ(Send(card, "00 B2 04 04 03"), "6A 83");
    EXPECT_EQ(Send(card, "00 A4 08 0C 02 2F 06"), "90 00");
    EXPECT_EQ(Send(card, "00 B0 00 00 01"), "69 82");             // dumped without a body
}

} // namespace
