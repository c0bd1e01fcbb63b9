#include <gtest/gtest.h>

#include "TestBytes.h"
#include "sim/AnsiText.h"

namespace {

// Bytes 0x80-0x9F are where code page 1252 (Windows under an English locale)
// and Latin-1 (the other builds) differ.
#ifdef _WIN32
constexpr char16_t Byte80 = u'\u20AC'; // euro sign in 1252
const std::string Euro = "\x80";
#else
constexpr char16_t Byte80 = u'\u0080';
const std::string Euro = "?";
#endif

TEST(AnsiToWide, StopsAtFirstNul)
{
    EXPECT_EQ(AnsiToWide("abc"), u"abc");
    EXPECT_EQ(AnsiToWide(std::string("ab\0cd", 5)), u"ab");
    EXPECT_EQ(AnsiToWide(""), u"");
}

TEST(AnsiToWide, ConvertsHighBytes)
{
    EXPECT_EQ(AnsiToWide("\xE9\xA3\xFF"), u"\u00E9\u00A3\u00FF"); // same in 1252 and Latin-1
    EXPECT_EQ(AnsiToWide("\x80"), std::u16string(1, Byte80));
}

TEST(AnsiBytesToWide, KeepsNulBytesAndCount)
{
    const Bytes bytes = {'a', 0x00, 'b', 0xE9};
    EXPECT_EQ(AnsiBytesToWide(bytes.data(), bytes.size()), std::u16string(u"a\0b\u00E9", 4));
    EXPECT_EQ(AnsiBytesToWide(bytes.data(), 1), u"a");
    EXPECT_EQ(AnsiBytesToWide(bytes.data(), 0), u"");
}

TEST(AnsiBytesToWide, UpperHalfRoundTrips)
{
    Bytes bytes;
    for (unsigned b = 0xA0; b <= 0xFF; ++b)
        bytes.push_back(static_cast<uint8_t>(b));
    const std::u16string wide = AnsiBytesToWide(bytes.data(), bytes.size());
    ASSERT_EQ(wide.size(), bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i)
        EXPECT_EQ(wide[i], bytes[i]);
    EXPECT_EQ(WideToAnsi(wide), Narrow(bytes));
}

TEST(WideToAnsi, ReplacesMissingCharacters)
{
    EXPECT_EQ(WideToAnsi(u"PIN 1234"), "PIN 1234");
    EXPECT_EQ(WideToAnsi(u"\u4E2D"), "?");
    EXPECT_EQ(WideToAnsi(u"\u20AC"), Euro);
    EXPECT_EQ(WideToAnsi(u""), "");
}

} // namespace
