#include <gtest/gtest.h>

#include "TestBytes.h"
#include "sim/Bcd.h"
#include "sim/GsmAlphabet.h"

namespace {

struct BcdCase {
    const char* hex;
    const char* digits;
};

void PrintTo(const BcdCase& c, std::ostream* os)
{
    *os << HexName(c.hex);
}

class BcdToStringTest : public testing::TestWithParam<BcdCase> {};

TEST_P(BcdToStringTest, DecodesSwappedNibbles)
{
    const Bytes bytes = Hex(GetParam().hex);
    EXPECT_EQ(BcdToString(bytes.data(), bytes.size()), GetParam().digits);
}

INSTANTIATE_TEST_SUITE_P(Fields, BcdToStringTest,
                         testing::Values(BcdCase{"2143FFFF", "1234"},     // trailing FF dropped
                                         BcdCase{"21F3", "123"},          // final high-nibble filler
                                         BcdCase{"213F", "12F3"},         // a low-nibble F is a digit
                                         BcdCase{"FFFF", ""},             // only filler
                                         BcdCase{"", ""},                 // nothing
                                         BcdCase{"BA", "AB"},             // no star or hash substitution
                                         BcdCase{"98103254F6", "890123456"},
                                         BcdCase{"F0", "0"},              // filler in the only byte
                                         BcdCase{"0F", "F0"},
                                         BcdCase{"FF21", "FF12"},         // only trailing FF are filler
                                         BcdCase{"21FF43FF", "12FF34"},   // an inner FF is two digits
                                         BcdCase{"F1FF", "1"},            // filler after dropping FF
                                         BcdCase{"FFF1", "FF1"}));

TEST(BcdToString, ReadsOnlyTheGivenCount)
{
    const Bytes bytes = Hex("214365");
    EXPECT_EQ(BcdToString(bytes.data(), 2), "1234");
    EXPECT_EQ(BcdToString(bytes.data(), 0), "");
}

// The GSM alphabet table as GSM 03.38 gives it, written out again here.
const std::pair<uint8_t, uint8_t> Latin1OfGsm[] = {
    {0x00, 0x40}, {0x01, 0xA3}, {0x02, 0x24}, {0x03, 0xA5}, {0x04, 0xE8}, {0x05, 0xE9}, {0x06, 0xF9},
    {0x07, 0xEC}, {0x08, 0xF2}, {0x09, 0xC7}, {0x0B, 0xD8}, {0x0C, 0xF8}, {0x0E, 0xC5}, {0x0F, 0xE5},
    {0x11, 0x5F}, {0x1C, 0xC6}, {0x1D, 0xE6}, {0x1E, 0xDF}, {0x1F, 0xC9}, {0x24, 0xA4}, {0x40, 0xA1},
    {0x5B, 0xC4}, {0x5C, 0xD6}, {0x5D, 0xD1}, {0x5E, 0xDC}, {0x5F, 0xA7}, {0x60, 0xBF}, {0x7B, 0xE4},
    {0x7C, 0xF6}, {0x7D, 0xF1}, {0x7E, 0xFC}, {0x7F, 0xE0},
};

// Bytes the table does not list (LF, CR, the Greek capitals, ESC and every
// byte from 0x80) have no Latin-1 code and are kept as they are.
TEST(GsmToLatin1, MapsEveryByte)
{
    for (unsigned gsm = 0; gsm < 256; ++gsm) {
        uint8_t expected = static_cast<uint8_t>(gsm);
        for (const auto& [from, to] : Latin1OfGsm) {
            if (from == gsm)
                expected = to;
        }
        EXPECT_EQ(GsmToLatin1(static_cast<uint8_t>(gsm)), expected) << "GSM byte " << gsm;
    }
}

struct AlphaCase {
    const char* hex;
    size_t count;
    Bytes text;
};

void PrintTo(const AlphaCase& c, std::ostream* os)
{
    *os << HexName(c.hex) << " count " << c.count;
}

class GsmAlphaToStringTest : public testing::TestWithParam<AlphaCase> {};

TEST_P(GsmAlphaToStringTest, MapsUpToFirstFF)
{
    const Bytes bytes = Hex(GetParam().hex);
    EXPECT_EQ(GsmAlphaToString(bytes.data(), GetParam().count), Narrow(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, GsmAlphaToStringTest,
    testing::Values(AlphaCase{"4142FF43", 4, {0x41, 0x42}},            // bytes after FF are not read
                    AlphaCase{"000102", 3, {0x40, 0xA3, 0x24}},
                    AlphaCase{"8000410042FF", 6, {0x80, 0x40, 0x41, 0x40, 0x42}}, // no UCS2 forms
                    AlphaCase{"1B3C", 2, {0x1B, 0x3C}},                // no escape table
                    AlphaCase{"414243", 2, {0x41, 0x42}},              // count bounds the field
                    AlphaCase{"FF41", 2, {}}, AlphaCase{"", 0, {}}));

} // namespace
