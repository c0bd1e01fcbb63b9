// Reader names between the platform's spelling and UTF-16 / UTF-8.
#include "PcscPlatform.h"

#include <cstdint>

namespace {

constexpr char32_t Replacement = 0xFFFD;

[[maybe_unused]] void AppendUtf16(std::u16string& out, char32_t cp)
{
    if (cp >= 0x10000) {
        out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
        out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
        out += static_cast<char16_t>(cp);
    }
}

// UTF-8 to UTF-16; a malformed, overlong or truncated sequence becomes U+FFFD.
[[maybe_unused]] std::u16string DecodeUtf8(const std::string& text)
{
    std::u16string out;
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<uint8_t>(text[i]);
        size_t length = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            length = 1, cp = lead;
        } else if (lead >= 0xC2 && lead < 0xE0) {
            length = 2, cp = lead & 0x1F, minimum = 0x80;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            length = 3, cp = lead & 0x0F, minimum = 0x800;
        } else if (lead >= 0xF0 && lead < 0xF5) {
            length = 4, cp = lead & 0x07, minimum = 0x10000;
        }
        size_t used = 1;
        bool valid = length > 0;
        while (valid && used < length) {
            if (i + used >= text.size() || (static_cast<uint8_t>(text[i + used]) & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (static_cast<uint8_t>(text[i + used]) & 0x3F);
            ++used;
        }
        if (valid && (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)))
            valid = false;
        AppendUtf16(out, valid ? cp : Replacement);
        i += used;
    }
    return out;
}

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
template <typename Char> std::string EncodeUtf8(const std::basic_string<Char>& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = static_cast<uint16_t>(text[i]);
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size()) {
            const char32_t low = static_cast<uint16_t>(text[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (cp >= 0xD800 && cp < 0xE000)
            cp = Replacement;
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

} // namespace

namespace pcsc {

#ifdef _WIN32
std::u16string ReaderNameToUtf16(const ReaderName& name)
{
    return std::u16string(name.begin(), name.end());
}

std::string ReaderNameToUtf8(const ReaderName& name)
{
    return EncodeUtf8(name);
}
#else
std::u16string ReaderNameToUtf16(const ReaderName& name)
{
    return DecodeUtf8(name);
}

std::string ReaderNameToUtf8(const ReaderName& name)
{
    return name;
}
#endif

} // namespace pcsc
