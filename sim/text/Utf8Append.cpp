#include "sim/text/Utf8Append.h"

namespace {

constexpr char32_t Replacement = 0xFFFD;

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

} // namespace

void AppendUtf8(std::string& out, char32_t c)
{
    if (IsHighSurrogate(c) || IsLowSurrogate(c) || c > 0x10FFFF)
        c = Replacement;
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

void AppendUtf16(std::string& out, const char16_t* units, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const char32_t c = units[i];
        if (IsHighSurrogate(c) && i + 1 < count && IsLowSurrogate(units[i + 1])) {
            AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00u));
            ++i;
        } else {
            AppendUtf8(out, c); // a lone surrogate becomes U+FFFD there
        }
    }
}
