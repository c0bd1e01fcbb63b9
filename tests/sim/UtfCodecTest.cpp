// The UTF-8 / UTF-16 codec: well-formed text both ways, and one U+FFFD for
// each byte or unit that begins nothing well formed.
#include <gtest/gtest.h>

#include "sim/text/UtfCodec.h"

namespace {

enum class Way { Both, ToUtf16, ToUtf8 };

struct CodecCase {
    const char* what;
    std::string utf8;
    std::u16string utf16;
    Way way;
};

std::u16string Bad(size_t count)
{
    return std::u16string(count, u'\uFFFD');
}

TEST(UtfCodec, ConvertsAndReplacesWhatIsNotWellFormed)
{
    const CodecCase cases[] = {
        {"ascii", "Virtual PCD 00 00", u"Virtual PCD 00 00", Way::Both},
        {"two, three, four bytes", "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", u"Caf\u00E9 \u20AC \U0001F600",
         Way::Both},
        {"each length's limits", "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
         u"\u007F\u0080\u07FF\u0800\uFFFF\U00010000\U0010FFFF", Way::Both},
        {"cut short", "a\xC3", u"a\uFFFD", Way::ToUtf16},
        {"cut short, two bytes of three", "\xE2\x82", Bad(2), Way::ToUtf16},
        {"continuation missing", "\xC3" "A", u"\uFFFDA", Way::ToUtf16},
        {"stray continuation", "\x80" "b", u"\uFFFDb", Way::ToUtf16},
        {"never a lead", "\xFF\xC1\xBF", Bad(3), Way::ToUtf16},
        {"overlong", "\xC0\xAF", Bad(2), Way::ToUtf16},
        {"overlong, three bytes", "\xE0\x80\xAF", Bad(3), Way::ToUtf16},
        {"overlong, four bytes", "\xF0\x80\x80\xAF", Bad(4), Way::ToUtf16},
        {"encoded surrogate", "\xED\xA0\x80", Bad(3), Way::ToUtf16},
        {"above U+10FFFF", "\xF4\x90\x80\x80", Bad(4), Way::ToUtf16},
        {"lone high surrogate", "\xEF\xBF\xBD" "a", std::u16string{0xD83D, u'a'}, Way::ToUtf8},
        {"lone low surrogate", "\xEF\xBF\xBD", std::u16string{0xDC00}, Way::ToUtf8},
        {"high surrogate last", "a\xEF\xBF\xBD", std::u16string{u'a', 0xD83D}, Way::ToUtf8},
        {"pair reversed", "\xEF\xBF\xBD\xEF\xBF\xBD", std::u16string{0xDE00, 0xD83D}, Way::ToUtf8},
    };
    for (const CodecCase& c : cases) {
        if (c.way != Way::ToUtf8) {
            EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.what;
        }
        if (c.way != Way::ToUtf16) {
            EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8) << c.what;
        }
    }
}

TEST(UtfCodec, EncodesNoSurrogateAndNothingAboveU10FFFF)
{
    for (const char32_t codePoint : {char32_t{0xD800}, char32_t{0xDFFF}, char32_t{0x110000}}) {
        std::string utf8;
        std::u16string utf16;
        AppendUtf8(utf8, codePoint);
        AppendUtf16(utf16, codePoint);
        EXPECT_EQ(utf8, "\xEF\xBF\xBD") << std::hex << static_cast<unsigned>(codePoint);
        EXPECT_EQ(utf16, u"\uFFFD") << std::hex << static_cast<unsigned>(codePoint);
    }
}

} // namespace
