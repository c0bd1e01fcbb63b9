#include "sim/text/GsmText.h"

#include "sim/text/UtfCodec.h"

namespace {

constexpr uint8_t Escape = 0x1B;

// TS 23.038 section 6.2.1, codes 0x00-0x7F.
constexpr char16_t DefaultAlphabet[128] = {
    u'@',    u'\u00A3', u'$',     u'\u00A5', u'\u00E8', u'\u00E9', u'\u00F9', u'\u00EC', // 0x00
    u'\u00F2', u'\u00C7', u'\n',  u'\u00D8', u'\u00F8', u'\r',    u'\u00C5', u'\u00E5', // 0x08
    u'\u0394', u'_',    u'\u03A6', u'\u0393', u'\u039B', u'\u03A9', u'\u03A0', u'\u03A8', // 0x10
    u'\u03A3', u'\u0398', u'\u039E', u' ',      u'\u00C6', u'\u00E6', u'\u00DF', u'\u00C9', // 0x18 (0x1B: escape, shown as a space)
    u' ',    u'!',     u'"',     u'#',     u'\u00A4', u'%',     u'&',     u'\'',    // 0x20
    u'(',    u')',     u'*',     u'+',     u',',     u'-',     u'.',     u'/',     // 0x28
    u'0',    u'1',     u'2',     u'3',     u'4',     u'5',     u'6',     u'7',     // 0x30
    u'8',    u'9',     u':',     u';',     u'<',     u'=',     u'>',     u'?',     // 0x38
    u'\u00A1', u'A',   u'B',     u'C',     u'D',     u'E',     u'F',     u'G',     // 0x40
    u'H',    u'I',     u'J',     u'K',     u'L',     u'M',     u'N',     u'O',     // 0x48
    u'P',    u'Q',     u'R',     u'S',     u'T',     u'U',     u'V',     u'W',     // 0x50
    u'X',    u'Y',     u'Z',     u'\u00C4', u'\u00D6', u'\u00D1', u'\u00DC', u'\u00A7', // 0x58
    u'\u00BF', u'a',   u'b',     u'c',     u'd',     u'e',     u'f',     u'g',     // 0x60
    u'h',    u'i',     u'j',     u'k',     u'l',     u'm',     u'n',     u'o',     // 0x68
    u'p',    u'q',     u'r',     u's',     u't',     u'u',     u'v',     u'w',     // 0x70
    u'x',    u'y',     u'z',     u'\u00E4', u'\u00F6', u'\u00F1', u'\u00FC', u'\u00E0', // 0x78
};

// TS 23.038 section 6.2.1.1: the characters after an escape.
struct Extension {
    uint8_t code;
    char32_t character;
};
constexpr Extension ExtensionTable[] = {
    {0x0A, U'\f'}, {0x14, U'^'}, {0x28, U'{'}, {0x29, U'}'}, {0x2F, U'\\'},
    {0x3C, U'['},  {0x3D, U'~'}, {0x3E, U']'}, {0x40, U'|'}, {0x65, U'\u20AC'},
};

} // namespace

char32_t GsmDefaultChar(uint8_t code)
{
    return code < 0x80 ? DefaultAlphabet[code] : U'\uFFFD';
}

char32_t GsmExtensionChar(uint8_t code)
{
    for (const Extension& extension : ExtensionTable) {
        if (extension.code == code)
            return extension.character;
    }
    return 0;
}

std::string GsmCodesToUtf8(const uint8_t* codes, size_t count)
{
    std::string text;
    text.reserve(count); // most codes take one byte
    for (size_t i = 0; i < count; ++i) {
        if (codes[i] != Escape) {
            AppendUtf8(text, GsmDefaultChar(codes[i]));
            continue;
        }
        if (++i == count)
            break; // a final escape extends nothing
        const uint8_t next = codes[i];
        if (next == Escape)
            AppendUtf8(text, U' ');
        else if (const char32_t extended = GsmExtensionChar(next))
            AppendUtf8(text, extended);
        else
            AppendUtf8(text, GsmDefaultChar(next));
    }
    return text;
}
