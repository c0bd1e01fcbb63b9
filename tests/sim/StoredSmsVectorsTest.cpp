// Real-world vectors from tests/vectors/public-vectors.json through the
// EF_SMS record decoders: here what the source states is what must come out.
#include <gtest/gtest.h>

#include "PublicVectors.h"
#include "sim/sms/StoredSms.h"
#include "sim/text/GsmText.h"
#include "sim/text/Septets.h"
#include "sim/sms/SmsAddress.h"
#include "sim/sms/UserDataHeader.h"

namespace {

TEST(SmsVectors, Addresses)
{
    const std::map<std::string, std::string> expected = {
        {"gsmmodem-addr-0", "+9876543210"},
        {"gsmmodem-addr-1", "+987654321"},
        {"gsmmodem-addr-2", "+27829135934"},
        {"gsmmodem-addr-3", "abc"},
        {"gsmmodem-addr-4", "FRANCOIS"},
        {"gsmmodem-addr-5", "a[]{}€"},
        {"gsmmodem-addr-6", "0129998765"},
        {"gsmmodem-addr-7", "+9876543210"},
        {"gsmmodem-addr-8", "+987654321"},
        {"gsmmodem-addr-9", "+2782913593"},
        {"pysim-addr-0480", "1234"},
        {"pysim-addr-0380", "123"},
        {"pysim-addr-0591", "+12345"}, // stated type international: shown with "+"
    };
    ForEachVector("sms_address_field", expected, [](const json& vector, const std::string& want) {
        const Bytes field = VectorBytes(vector);
        const bool centre = vector.at("kind").get<std::string>().starts_with("SMSC");
        SmsAddress address;
        const size_t used = centre ? DecodeServiceCentreAddress(field.data(), field.size(), address)
                                   : DecodeTpAddress(field.data(), field.size(), address);
        EXPECT_GT(used, 0u);
        EXPECT_EQ(address.text, want);
        EXPECT_EQ(address.alphanumeric, (field[1] & 0x70) == 0x50);
        // One octet less than the field needs is refused.
        EXPECT_EQ(centre ? DecodeServiceCentreAddress(field.data(), used - 1, address)
                         : DecodeTpAddress(field.data(), used - 1, address),
                  0u);
    });
}

struct TpduExpectation {
    uint8_t status;
    SmsType type;
    std::string serviceCentre;
    std::string address;
    std::string text;
    int reference; // -1: none
    Duration validity; // relative; none: 0 minutes
};

TEST(SmsVectors, MessagesByType)
{
    const std::map<std::string, TpduExpectation> expected = {
        {"ofono-simple-submit", {0x07, SmsType::Submit, "", "+46708251358", "hellohello", 0, {4, TimeUnit::Days}}},
        {"ofono-ems-udh",
         {0x05, SmsType::Submit, "+491722270333", "+15124310596",
          "This is a test\nItalied, bold, underlined, and strikethrough.\nNow a right aligned word.", 3, {63, TimeUnit::Weeks}}},
        {"gsmmodem-submit-vp", {0x07, SmsType::Submit, "+31624000000", "+31628870634", "www.diafaan.com", 13, {3, TimeUnit::Days}}},
        {"gsmmodem-submit-ucs2", {0x07, SmsType::Submit, "+34646456456", "+34616585119", "あ叶葉", 0, {}}},
        {"gsmmodem-submit-8bit", {0x07, SmsType::Submit, "+2781191", "+27821234567", "Hello world!", 0, {}}},
        {"gsmmodem-status-report", {0x01, SmsType::StatusReport, "", "+31628870634", "", 214, {}}},
    };
    ForEachVector("sms_submit_and_other_mti", expected, [](const json& vector, const TpduExpectation& want) {
        Bytes record = Concat({Bytes{want.status}, VectorBytes(vector)});
        record.resize(176, 0xFF);
        StoredSms sms;
        ASSERT_TRUE(DecodeStoredSms(record.data(), record.size(), sms));
        EXPECT_FALSE(sms.stoppedAt);
        EXPECT_EQ(sms.type, want.type);
        EXPECT_EQ(sms.serviceCentre.text, want.serviceCentre);
        EXPECT_EQ(sms.address.text, want.address);
        EXPECT_EQ(sms.userData.text, want.text);
        EXPECT_EQ(sms.messageReference.value_or(-1), want.reference);
        EXPECT_EQ(sms.validity.duration, want.validity);
    });
}

struct HeaderExpectation {
    bool withLengthOctet; // the vector starts with UDHL
    int reference;        // -1: no concatenation element
    int total;
    int sequence;
    size_t headerLength;
};

TEST(SmsVectors, UserDataHeaders)
{
    const std::map<std::string, HeaderExpectation> expected = {
        {"gsmmodem-ie-0003170301", {false, 23, 3, 1, 6}},
        {"gsmmodem-ie-080401800402", {false, 384, 4, 2, 7}},
        {"gsmmodem-ie-04026432", {false, -1, 0, 0, 5}},
        {"gsmmodem-ie-050404D21466", {false, -1, 0, 0, 7}},
        {"pysim-udh-027100", {true, -1, 0, 0, 3}},
        {"pysim-udh-027100abcdef", {true, -1, 0, 0, 3}},
        {"pysim-udh-03710110", {true, -1, 0, 0, 4}},
        {"pysim-udh-0571007001ffabcd", {true, -1, 0, 0, 6}},
    };
    ForEachVector("udh", expected, [](const json& vector, const HeaderExpectation& want) {
        Bytes data = VectorBytes(vector);
        if (!want.withLengthOctet)
            data.insert(data.begin(), static_cast<uint8_t>(data.size()));
        UserDataHeader header;
        ASSERT_TRUE(ParseUserDataHeader(data.data(), data.size(), header));
        EXPECT_EQ(header.length, want.headerLength);
        ASSERT_EQ(header.concatenation.has_value(), want.reference >= 0);
        if (header.concatenation) {
            EXPECT_EQ(header.concatenation->reference, want.reference);
            EXPECT_EQ(header.concatenation->total, want.total);
            EXPECT_EQ(header.concatenation->sequence, want.sequence);
        }
        // A header cut short is refused.
        EXPECT_FALSE(ParseUserDataHeader(data.data(), header.length - 1, header));
    });
}

} // namespace
