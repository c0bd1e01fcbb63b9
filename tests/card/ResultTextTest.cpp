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
// pcsc-lite names are UTF-8: shown through the codec, kept as they are.
TEST(ReaderName, DecodesUtf8AndReplacesWhatIsMalformed)
{
    for (const auto& [utf8, utf16] : {std::pair<std::string, std::u16string>{"Lecteur \xC3\xA9", u"Lecteur \u00E9"},
                                      {"a\xC0\xAF", u"a\uFFFD\uFFFD"}}) {
        EXPECT_EQ(pcsc::ReaderNameToUtf16(utf8), utf16) << utf8;
        EXPECT_EQ(pcsc::ReaderNameToUtf8(utf8), utf8);
    }
}
#endif

} // namespace
} // namespace card_test
