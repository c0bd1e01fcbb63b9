#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "SeptetPacker.h"
#include "SmsRecordBuilder.h"
#include "sim/ResultCodes.h"
#include "sim/SmsRecords.h"
#include "tests/SimBytes.h"

namespace {

using sim_bytes::EfHeader;

struct HeaderCase {
    Bytes header;
    long result;
    uint16_t count;
    uint8_t length;
};

void PrintTo(const HeaderCase& c, std::ostream* os)
{
    *os << c.header.size() << " bytes count " << c.count << " length " << unsigned{c.length};
}

class SmsHeaderTest : public testing::TestWithParam<HeaderCase> {};

TEST_P(SmsHeaderTest, GivesGeometry)
{
    SmsFile file;
    file.recordCount = 2; // an earlier geometry, kept unless the header gives one
    file.recordLength = 176;
    EXPECT_EQ(ParseSmsFileHeader(GetParam().header, file), GetParam().result);
    EXPECT_EQ(file.recordCount, GetParam().count);
    EXPECT_EQ(file.recordLength, GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(Headers, SmsHeaderTest,
                         testing::Values(HeaderCase{EfHeader(0x0DC0, 176), 0, 20, 176},
                                         HeaderCase{EfHeader(0x00B1, 176), 0, 1, 176}, // remainder dropped
                                         HeaderCase{EfHeader(0x0010, 15), 0, 1, 15},
                                         HeaderCase{EfHeader(0x0DC0, 14), 0, 2, 176},  // unusable length
                                         HeaderCase{EfHeader(0x0DC0, 176, 14), sc::Unexpected, 2, 176},
                                         HeaderCase{EfHeader(0x0DC0, 176, 16), sc::Unexpected, 2, 176}));

TEST(SmsHeader, FreshFileStaysEmptyForShortRecordLength)
{
    SmsFile file;
    EXPECT_EQ(ParseSmsFileHeader(EfHeader(0x0DC0, 14), file), 0);
    EXPECT_EQ(file.recordCount, 0);
    EXPECT_EQ(file.recordLength, 0);
}

TEST(SmsRecordUse, StatusBitOrSecondByte)
{
    const struct {
        Bytes record;
        bool used;
    } cases[] = {{Hex("00 FF FF"), false}, {Hex("00 07 91"), true}, {Hex("01 FF"), true},
                 {Hex("03 FF"), true},     {Hex("00"), false},      {Hex("01"), true},
                 {Bytes{}, false},         {Hex("FE FF"), false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsSmsRecordUsed(c.record.data(), c.record.size()), c.used) << testing::PrintToString(c.record);
}

TEST(SmsStatus, TextOfLowThreeBits)
{
    const struct {
        uint8_t status;
        const char* text;
    } cases[] = {{0x00, "Deleted"}, {0x01, "Read"},    {0x02, "Deleted"},    {0x03, "Unread"},
                 {0x04, "Deleted"}, {0x05, "Unknown"}, {0x06, "Deleted"},    {0x07, "To be sent"},
                 {0xF9, "Read"},    {0x08, "Deleted"}, {0xFF, "To be sent"}, {0x0B, "Unread"}};
    for (const auto& c : cases)
        EXPECT_EQ(SmsStatusText(c.status), c.text) << "status " << unsigned{c.status};
}

constexpr size_t Whole = SIZE_MAX;

// One change to the default record and what the decoded message then holds.
struct DecodeCase {
    const char* what;
    std::function<void(SmsRecordBuilder&)> change;
    bool listed;
    std::function<void(const SmsMessage&)> check;
    size_t received = Whole; // bytes passed to the decoder
};

void PrintTo(const DecodeCase& c, std::ostream* os)
{
    *os << c.what;
}

class DecodeSmsTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeSmsTest, DecodesDeliverLayout)
{
    SmsRecordBuilder builder;
    GetParam().change(builder);
    const Bytes record = builder.Build();
    const size_t length = GetParam().received == Whole ? record.size() : GetParam().received;
    ASSERT_LE(length, record.size());
    SmsMessage message;
    EXPECT_EQ(DecodeSms(message, record.data(), length), GetParam().listed);
    EXPECT_EQ(message.rawRecord, Bytes(record.begin(), record.begin() + length));
    GetParam().check(message);
}

void SetText7Bit(SmsRecordBuilder& b, const std::string& ascii)
{
    b.userDataLength = static_cast<uint8_t>(ascii.size());
    b.userData = PackSeptets(Bytes(ascii.begin(), ascii.end()));
}

void SetUserData(SmsRecordBuilder& b, uint8_t coding, const std::string& hex)
{
    b.dataCoding = coding;
    b.userData = Hex(hex);
    b.userDataLength = static_cast<uint8_t>(b.userData.size());
}

auto TextIs(std::u16string text)
{
    return [text](const SmsMessage& m) { EXPECT_EQ(m.text, text); };
}

INSTANTIATE_TEST_SUITE_P(
    Records, DecodeSmsTest,
    testing::Values(
        DecodeCase{"fields",
                   [](SmsRecordBuilder& b) {
                       b.protocolId = 0x3F;
                       SetText7Bit(b, "hellohello");
                   },
                   true,
                   [](const SmsMessage& m) {
                       EXPECT_EQ(m.status, "Read");
                       EXPECT_EQ(m.serviceCentre, "+447785016005");
                       EXPECT_EQ(m.sender, u"+44791234567");
                       EXPECT_EQ(m.date, u"Wed Jan 02 02:03:55 1980");
                       EXPECT_EQ(m.timestamp.tm_year, 80);
                       EXPECT_EQ(m.timestamp.tm_wday, 3);
                       EXPECT_EQ(m.text, u"hellohello");
                       EXPECT_EQ(m.protocolId, 0x3F);
                       EXPECT_EQ(m.dataCoding, 0x00);
                       EXPECT_EQ(m.userDataLength, 10);
                   }},
        DecodeCase{"first_octet_E4", [](SmsRecordBuilder& b) { b.firstOctet = 0xE4; }, true,
                   [](const SmsMessage& m) {
                       EXPECT_EQ(m.replyPathUdhi, 3);
                       EXPECT_EQ(m.statusReportIndication, 1);
                       EXPECT_EQ(m.firstOctetBit4, 0);
                       EXPECT_EQ(m.firstOctetBit3, 0);
                       EXPECT_EQ(m.moreMessagesToSend, 1);
                   }},
        DecodeCase{"first_octet_18", [](SmsRecordBuilder& b) { b.firstOctet = 0x18; }, true,
                   [](const SmsMessage& m) {
                       EXPECT_EQ(m.replyPathUdhi, 0);
                       EXPECT_EQ(m.statusReportIndication, 0);
                       EXPECT_EQ(m.firstOctetBit4, 1);
                       EXPECT_EQ(m.firstOctetBit3, 1);
                       EXPECT_EQ(m.moreMessagesToSend, 0);
                   }},
        DecodeCase{"deleted_status", [](SmsRecordBuilder& b) { b.status = 0x00; }, true,
                   [](const SmsMessage& m) { EXPECT_EQ(m.status, "Deleted"); }},
        DecodeCase{"to_be_sent_read_as_deliver", [](SmsRecordBuilder& b) { b.status = 0x07; b.firstOctet = 0x01; },
                   true, [](const SmsMessage& m) { EXPECT_EQ(m.status, "To be sent"); }},
        DecodeCase{"national_service_centre",
                   [](SmsRecordBuilder& b) { b.serviceCentre = Concat({Hex("05 81"), SwappedBcd("0123456")}); },
                   true, [](const SmsMessage& m) { EXPECT_EQ(m.serviceCentre, "0123456"); }},
        DecodeCase{"no_service_centre", [](SmsRecordBuilder& b) { b.serviceCentre = Hex("00"); }, true,
                   [](const SmsMessage& m) {
                       EXPECT_EQ(m.serviceCentre, "");
                       EXPECT_EQ(m.sender, u"+44791234567");
                   }},
        DecodeCase{"even_sender_national",
                   [](SmsRecordBuilder& b) { b.sender = Concat({Hex("0A A1"), SwappedBcd("0129998765")}); }, true,
                   [](const SmsMessage& m) { EXPECT_EQ(m.sender, u"0129998765"); }},
        DecodeCase{"empty_sender", [](SmsRecordBuilder& b) { b.sender = Hex("00 91"); }, true,
                   [](const SmsMessage& m) { EXPECT_EQ(m.sender, u"+"); }},
        DecodeCase{"alphanumeric_sender", [](SmsRecordBuilder& b) { b.sender = Hex("0E D0 46 69 D0 39 7C 26 A7"); },
                   false, [](const SmsMessage&) {}},
        DecodeCase{"sender_with_hex_digit",
                   [](SmsRecordBuilder& b) { b.sender = Concat({Hex("04 81"), SwappedBcd("12B4")}); }, false,
                   [](const SmsMessage& m) { EXPECT_EQ(m.sender, u"12B4"); }},
        DecodeCase{"at_sign_last", [](SmsRecordBuilder& b) { SetText7Bit(b, std::string("ABCDEFG\0", 8)); }, true,
                   TextIs(u"ABCDEFG@")}, // the septet count keeps a final "@"
        DecodeCase{"seven_septets", [](SmsRecordBuilder& b) { SetText7Bit(b, "ABCDEFG"); }, true,
                   TextIs(u"ABCDEFG")}, // the fill of the last octet is not shown
        DecodeCase{"gsm_letters_7bit", [](SmsRecordBuilder& b) { SetText7Bit(b, "\x01\x7B\x11"); }, true,
                   TextIs(u"\u00A3\u00E4_")},
        DecodeCase{"line_breaks_7bit", [](SmsRecordBuilder& b) { SetText7Bit(b, "A\r\nB\n"); }, true,
                   TextIs(u"A  B ")},
        DecodeCase{"eight_bit", [](SmsRecordBuilder& b) { SetUserData(b, 0x04, "48 69 0D 0A 00 E9"); }, true,
                   TextIs(std::u16string(u"Hi  \0\u00E9", 6))},
        DecodeCase{"eight_bit_group_bits_ignored", [](SmsRecordBuilder& b) { SetUserData(b, 0xF4, "48 69"); }, true,
                   TextIs(u"Hi")},
        DecodeCase{"ucs2", [](SmsRecordBuilder& b) { SetUserData(b, 0x08, "30 42 53 F6 84 49"); }, true,
                   TextIs(u"\u3042\u53F6\u8449")},
        DecodeCase{"ucs2_line_breaks", [](SmsRecordBuilder& b) { SetUserData(b, 0x08, "00 41 00 0D 00 0A 00 42"); },
                   true, TextIs(u"A  B")},
        DecodeCase{"ucs2_odd_length", [](SmsRecordBuilder& b) { SetUserData(b, 0x08, "00 41 00 42 00"); }, true,
                   TextIs(u"AB")},
        DecodeCase{"ucs2_zero_unit", [](SmsRecordBuilder& b) { SetUserData(b, 0x18, "00 41 00 00 00 42"); }, true,
                   TextIs(u"A")},
        DecodeCase{"reserved_coding", [](SmsRecordBuilder& b) { SetUserData(b, 0x0C, "41 42"); }, true,
                   TextIs(u"#UNSUPPORTED MESSAGE ENCODING#")},
        DecodeCase{"header_is_text", [](SmsRecordBuilder& b) {
                       b.firstOctet = 0x44;
                       SetUserData(b, 0x04, "05 00 03 17 02 01 41");
                   },
                   true, TextIs(std::u16string(u"\u0005\u0000\u0003\u0017\u0002\u0001A", 7))},
        // Lengths that reach past the record: the record is not listed when its
        // fixed fields do not fit; user data is cut to what the record holds.
        DecodeCase{"status_only", [](SmsRecordBuilder&) {}, false, [](const SmsMessage&) {}, 1},
        DecodeCase{"nothing_received", [](SmsRecordBuilder&) {}, false, [](const SmsMessage&) {}, 0},
        DecodeCase{"service_centre_too_long", [](SmsRecordBuilder& b) { b.serviceCentre = Hex("FF 91 44"); },
                   false, [](const SmsMessage&) {}},
        DecodeCase{"service_centre_to_end",
                   [](SmsRecordBuilder& b) {
                       b.serviceCentre = Hex("03 91 44 77");
                       b.recordLength = 0;
                   },
                   false, [](const SmsMessage&) {}, 5},
        DecodeCase{"sender_too_long", [](SmsRecordBuilder& b) {
                       b.sender = Hex("FF 91 44");
                       b.recordLength = 0;
                   },
                   false,
                   [](const SmsMessage&) {}},
        DecodeCase{"no_data_length", [](SmsRecordBuilder& b) { b.recordLength = 0; }, false,
                   [](const SmsMessage&) {}, 1 + 8 + 1 + 8 + 2 + 7},
        DecodeCase{"data_length_only",
                   [](SmsRecordBuilder& b) {
                       b.recordLength = 0;
                       b.userDataLength = 160;
                   },
                   true, TextIs(u""), 1 + 8 + 1 + 8 + 2 + 7 + 1},
        DecodeCase{"eight_bit_cut",
                   [](SmsRecordBuilder& b) {
                       SetUserData(b, 0x04, "41 42 43 44 45");
                       b.userDataLength = 140;
                       b.recordLength = 0;
                   },
                   true, TextIs(u"ABCDE")},
        DecodeCase{"ucs2_cut",
                   [](SmsRecordBuilder& b) {
                       SetUserData(b, 0x08, "00 41 00 42 00");
                       b.userDataLength = 140;
                       b.recordLength = 0;
                   },
                   true, TextIs(u"AB")},
        DecodeCase{"seven_bit_cut",
                   [](SmsRecordBuilder& b) {
                       SetText7Bit(b, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
                       b.userData.resize(10);
                       b.userDataLength = 160;
                       b.recordLength = 0;
                   },
                   true, TextIs(u"ABCDEFGHIJK")}));

// Every 7-bit length from 1 to 160 septets, with "@" (code 0) in last place too.
TEST(DecodeSms, SevenBitTextsOfEveryLength)
{
    const std::string alphabet = "The quick brown fox 0123456789 jumps over the lazy dog @";
    for (size_t length = 1; length <= 160; ++length) {
        std::string ascii;
        for (size_t i = 0; i < length; ++i)
            ascii += alphabet[(i * 7 + length) % alphabet.size()];
        Bytes codes(ascii.begin(), ascii.end());
        for (uint8_t& code : codes)
            code = code == '@' ? 0x00 : code;
        SmsRecordBuilder builder;
        builder.userDataLength = static_cast<uint8_t>(length);
        builder.userData = PackSeptets(codes);
        const Bytes record = builder.Build();
        SmsMessage message;
        ASSERT_TRUE(DecodeSms(message, record.data(), record.size()));
        EXPECT_EQ(message.text, std::u16string(ascii.begin(), ascii.end())) << length << " septets";
    }
}

} // namespace
