// The text and digit decoders: GSM default alphabet with the extension table,
// the alpha-identifier forms, extended BCD digits.
#include <gtest/gtest.h>

#include "TestBytes.h"
#include "sim/text/AlphaIdentifier.h"
#include "sim/dialling/DiallingDigits.h"
#include "sim/text/GsmText.h"

namespace {

struct TextCase {
    const char* hex;
    const char* utf8;
};

void PrintTo(const TextCase& c, std::ostream* os)
{
    *os << HexName(c.hex);
}

class GsmTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(GsmTextTest, GivesUtf8)
{
    const Bytes codes = Hex(GetParam().hex);
    EXPECT_EQ(GsmCodesToUtf8(codes.data(), codes.size()), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, GsmTextTest,
    testing::Values(TextCase{"00010203040506070809", "@£$¥èéùìòÇ"},
                    TextCase{"1012131415161718191A", "ΔΦΓΛΩΠΨΣΘΞ"},
                    TextCase{"1C1D1E1F24405B5C5D5E5F607B7C7D7E7F", "ÆæßÉ¤¡ÄÖÑÜ§¿äöñüà"},
                    TextCase{"0A0D0B0C0E0F11", "\n\rØøÅå_"},
                    TextCase{"1B0A1B141B281B291B2F1B3C1B3D1B3E1B401B65", "\f^{}\\[~]|€"},
                    TextCase{"1B41", "A"},        // unknown extension: the default character
                    TextCase{"1B1B41", " A"},     // escape to a further table: a space
                    TextCase{"411B", "A"},        // a final escape extends nothing
                    TextCase{"418042FF", "A\uFFFDB\uFFFD"}, // no GSM codes
                    TextCase{"", ""}));

class AlphaIdentifierTest : public testing::TestWithParam<TextCase> {};

TEST_P(AlphaIdentifierTest, GivesUtf8)
{
    const Bytes field = Hex(GetParam().hex);
    EXPECT_EQ(DecodeAlphaIdentifier(field.data(), field.size()).text, GetParam().utf8);
}

// The standards' own examples and public vectors are in PhoneBookVectorsTest;
// surrogates, with the codec's own cases in UtfCodecTest.
INSTANTIATE_TEST_SUITE_P(
    Fields, AlphaIdentifierTest,
    testing::Values(TextCase{"4142FF43", "AB"},           // GSM: up to the first FF
                    TextCase{"1B65FFFF", "€"},
                    TextCase{"800041FFFF0042", "A"},      // 0x80: up to the first FFFF
                    TextCase{"8004FFFFFF", "\u04FF"},     // a unit ending in FF is no padding
                    TextCase{"800041FF", "A"},            // an odd last byte holds no unit
                    TextCase{"80", ""},
                    TextCase{"81050853", "S"},            // count beyond what was received
                    TextCase{"810308981B65", "И€"},      // escape inside the GSM codes
                    TextCase{"8102", ""},                 // no base
                    TextCase{"820206", ""},
                    TextCase{"8201FFFFFF", "\uFFFD"},     // base and offset beyond U+FFFF
                    TextCase{"8202FF81FEFF", "\uFFFF\uFFFD"}, // the last UCS2 character, one past it
                    TextCase{"8203D8008041FF", "\uFFFDA\uFFFD"}, // base in the surrogates
                    TextCase{"", ""}));

TEST(AlphaIdentifier, TellsItsCoding)
{
    for (const auto& [hex, coding] : {std::pair{"41", AlphaCoding::Gsm}, std::pair{"800041", AlphaCoding::Ucs2},
                                     std::pair{"81010841", AlphaCoding::Ucs2Base8},
                                     std::pair{"8201000041", AlphaCoding::Ucs2Base16}}) {
        const Bytes field = Hex(hex);
        const AlphaText alpha = DecodeAlphaIdentifier(field.data(), field.size());
        EXPECT_EQ(alpha.coding, coding) << hex;
    }
}

class DiallingDigitsTest : public testing::TestWithParam<TextCase> {};

TEST_P(DiallingDigitsTest, GivesDigits)
{
    const Bytes bytes = Hex(GetParam().hex);
    EXPECT_EQ(DecodeDiallingDigits(bytes.data(), bytes.size()), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(Bcd, DiallingDigitsTest,
                         testing::Values(TextCase{"214365", "123456"},
                                         TextCase{"21F3", "123"},
                                         TextCase{"BADCFE", "*#,?E"}, // A-E; F ends
                                         TextCase{"21F345", "123"},   // nothing after the end mark
                                         TextCase{"F1", "1"},
                                         TextCase{"1F", ""},          // the end mark comes first
                                         TextCase{"", ""}));

TEST(DiallingNumberText, PlusOnlyForInternationalNumbersWithDigits)
{
    EXPECT_EQ(DiallingNumberText(0x91, "44"), "+44");
    EXPECT_EQ(DiallingNumberText(0x11, "44"), "+44"); // TON 001 whatever the plan
    EXPECT_EQ(DiallingNumberText(0x81, "44"), "44");
    EXPECT_EQ(DiallingNumberText(0xB1, "44"), "44");
    EXPECT_EQ(DiallingNumberText(0xFF, "44"), "44");
    EXPECT_EQ(DiallingNumberText(0x91, ""), "");
}

} // namespace
