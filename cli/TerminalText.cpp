#include "TerminalText.h"

#include "sim/text/UtfCodec.h"

namespace {

const char Marker[] = "\xEF\xBF\xBD"; // U+FFFD

bool IsPrintableAscii(char c)
{
    return c >= 0x20 && c < 0x7F;
}

bool IsHidden(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

} // namespace

std::string TerminalText(const std::string& utf8, bool keepLineEnds)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        // Most text is printable ASCII: such a run is copied whole.
        size_t plainEnd = at;
        while (plainEnd < utf8.size() && IsPrintableAscii(utf8[plainEnd]))
            ++plainEnd;
        out.append(utf8, at, plainEnd - at);
        at = plainEnd;
        if (at == utf8.size())
            break;
        const auto [c, length] = DecodeUtf8At(utf8, at);
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
