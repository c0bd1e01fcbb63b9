#include "sim/text/AlphaIdentifier.h"

#include <algorithm>
#include <vector>

#include "sim/text/GsmText.h"
#include "sim/text/UtfCodec.h"

namespace {

constexpr uint8_t Padding = 0xFF;

std::string GsmText(const uint8_t* field, size_t length)
{
    const size_t used = static_cast<size_t>(std::find(field, field + length, Padding) - field);
    return GsmCodesToUtf8(field, used);
}

// 0x80: code units until the first FFFF; an odd last byte holds no unit.
std::string Ucs2Text(const uint8_t* units, size_t length)
{
    std::u16string text;
    for (size_t i = 0; i + 1 < length; i += 2) {
        const char16_t unit = static_cast<char16_t>(units[i] << 8 | units[i + 1]);
        if (unit == 0xFFFF)
            break;
        text += unit;
    }
    return Utf16ToUtf8(text);
}

// 0x81 and 0x82: `count` bytes from `chars` (as many as were received); a
// byte below 0x80 is a GSM code, any other is base + its low 7 bits, which
// must stay a UCS2 character (a sum above U+FFFF shows as U+FFFD). Runs of
// GSM codes are decoded together so that escape sequences hold.
std::string BasedText(const uint8_t* chars, size_t available, size_t count, char32_t base)
{
    const size_t n = std::min(count, available);
    std::string out;
    std::vector<uint8_t> gsmRun;
    for (size_t i = 0; i < n; ++i) {
        if (chars[i] < 0x80) {
            gsmRun.push_back(chars[i]);
            continue;
        }
        out += GsmCodesToUtf8(gsmRun.data(), gsmRun.size());
        gsmRun.clear();
        const char32_t c = base + (chars[i] & 0x7Fu);
        AppendUtf8(out, c > 0xFFFF ? ReplacementCharacter : c);
    }
    return out + GsmCodesToUtf8(gsmRun.data(), gsmRun.size());
}

} // namespace

AlphaText DecodeAlphaIdentifier(const uint8_t* field, size_t length)
{
    AlphaText alpha;
    if (length == 0)
        return alpha;
    switch (field[0]) {
    case 0x80:
        alpha.coding = AlphaCoding::Ucs2;
        alpha.text = Ucs2Text(field + 1, length - 1);
        break;
    case 0x81:
        alpha.coding = AlphaCoding::Ucs2Base8;
        if (length >= 3)
            alpha.text = BasedText(field + 3, length - 3, field[1], static_cast<char32_t>(field[2]) << 7);
        break;
    case 0x82:
        alpha.coding = AlphaCoding::Ucs2Base16;
        if (length >= 4)
            alpha.text = BasedText(field + 4, length - 4, field[1], static_cast<char32_t>(field[2] << 8 | field[3]));
        break;
    default:
        alpha.text = GsmText(field, length);
    }
    return alpha;
}
