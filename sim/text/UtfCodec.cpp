#include "sim/text/UtfCodec.h"

#include <cstdint>

namespace {

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }
bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

char32_t Checked(char32_t c)
{
    return IsSurrogate(c) || c > 0x10FFFF ? ReplacementCharacter : c;
}

// The length of the sequence a UTF-8 lead byte begins, 0 for a byte that
// never leads (a continuation byte, C0, C1, F5 to FF).
size_t SequenceLength(uint8_t lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

} // namespace

void AppendUtf8Sequence(std::string& out, char32_t c)
{
    c = Checked(c);
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t c)
{
    c = Checked(c);
    if (c >= 0x10000) {
        out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
        out += static_cast<char16_t>(c);
    }
}

DecodedChar DecodeUtf8At(std::string_view text, size_t at)
{
    const auto lead = static_cast<uint8_t>(text[at]);
    const size_t length = SequenceLength(lead);
    if (length == 0 || text.size() - at < length)
        return {};
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        const auto next = static_cast<uint8_t>(text[at + k]);
        if ((next & 0xC0) != 0x80)
            return {};
        c = c << 6 | (next & 0x3F);
    }
    const char32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < shortest[length] || c != Checked(c))
        return {};
    return {c, length};
}

DecodedChar DecodeUtf16At(std::u16string_view text, size_t at)
{
    const char32_t c = text[at];
    if (!IsSurrogate(c))
        return {c, 1};
    if (IsHighSurrogate(c) && at + 1 < text.size() && IsLowSurrogate(text[at + 1]))
        return {0x10000 + ((c - 0xD800) << 10) + (text[at + 1] - 0xDC00u), 2};
    return {};
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const DecodedChar decoded = DecodeUtf8At(text, at);
        AppendUtf16(out, decoded.codePoint);
        at += decoded.length > 0 ? decoded.length : 1;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const DecodedChar decoded = DecodeUtf16At(text, at);
        AppendUtf8(out, decoded.codePoint);
        at += decoded.length > 0 ? decoded.length : 1;
    }
    return out;
}
