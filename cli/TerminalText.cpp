#include "TerminalText.h"

namespace {

const char Marker[] = "\xEF\xBF\xBD"; // U+FFFD

bool IsHidden(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// Length of the well-formed UTF-8 sequence at `at` and its code point, or 0.
size_t Sequence(const std::string& text, size_t at, char32_t& c)
{
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    const size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : (lead >> 4) == 0xE ? 3
                                                      : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || text.size() - at < length)
        return 0;
    c = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        c = c << 6 | (next & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool valid = c >= least[length] && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
    return valid ? length : 0;
}

} // namespace

std::string TerminalText(const std::string& utf8, bool keepLineEnds)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        char32_t c = 0;
        const size_t length = Sequence(utf8, at, c);
        if (length == 0) {
            out += Marker;
            ++at;
            continue;
        }
        if (c == '\n' || c == '\r')
            out += keepLineEnds ? static_cast<char>(c) : ' ';
        else if (c == '\t')
            out += ' ';
        else if (IsHidden(c))
            out += Marker;
        else
            out.append(utf8, at, length);
        at += length;
    }
    return out;
}
