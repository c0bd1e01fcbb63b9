// Result codes and reader names as text.
#include <string>

#include "CardTest.h"
#include "sim/ResultCodes.h"

namespace card_test {
namespace {

struct ResultTextCase {
    long result;
    const char* text;
};

void PrintTo(const ResultTextCase& c, std::ostream* os)
{
    *os << c.text;
}

class ResultTextTest : public ::testing::TestWithParam<ResultTextCase> {};

TEST_P(ResultTextTest, NamesKnownCodesAndShowsOthersInHex)
{
    EXPECT_EQ(PcscResultText(GetParam().result), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResultTextTest,
    ::testing::Values(ResultTextCase{0, "SCARD_S_SUCCESS (0x00000000)"},
                      ResultTextCase{sc::Unexpected, "SCARD_E_UNEXPECTED (0x8010001F)"},
                      ResultTextCase{sc::FileNotFound, "SCARD_E_FILE_NOT_FOUND (0x80100024)"},
                      ResultTextCase{sc::WrongChv, "SCARD_W_WRONG_CHV (0x8010006B)"},
                      ResultTextCase{sc::ChvBlocked, "SCARD_W_CHV_BLOCKED (0x8010006C)"},
                      ResultTextCase{sc::CancelledByUser, "SCARD_W_CANCELLED_BY_USER (0x8010006E)"},
                      ResultTextCase{static_cast<long>(0x8010000CUL), "SCARD_E_NO_SMARTCARD (0x8010000C)"},
                      ResultTextCase{static_cast<long>(0x80100022UL), "SCARD_E_UNSUPPORTED_FEATURE (0x80100022)"},
                      ResultTextCase{0x12345678L, "0x12345678"},
                      ResultTextCase{-1L, "0xFFFFFFFF"}));

#ifndef _WIN32
struct NameCase {
    const char* utf8;
    std::u16string utf16;
};

void PrintTo(const NameCase& c, std::ostream* os)
{
    *os << fake_pcsc::Hex(Bytes(c.utf8, c.utf8 + std::char_traits<char>::length(c.utf8)));
}

class ReaderNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(ReaderNameTest, DecodesUtf8AndReplacesWhatIsMalformed)
{
    EXPECT_EQ(pcsc::ReaderNameToUtf16(GetParam().utf8), GetParam().utf16);
    EXPECT_EQ(pcsc::ReaderNameToUtf8(GetParam().utf8), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReaderNameTest,
                         ::testing::Values(NameCase{"Virtual PCD 00 00", u"Virtual PCD 00 00"},
                                           NameCase{"\xC3\xA9\xE2\x82\xAC", u"\u00E9\u20AC"},
                                           NameCase{"\xF0\x9F\x92\xB3", u"\U0001F4B3"},
                                           NameCase{"a\xC3", u"a\uFFFD"},           // cut short
                                           NameCase{"\xC0\xAF", u"\uFFFD\uFFFD"},   // overlong
                                           NameCase{"\xED\xA0\x80", u"\uFFFD"}, // surrogate
                                           NameCase{"\xFF" "b", u"\uFFFDb"}));
#endif

} // namespace
} // namespace card_test
