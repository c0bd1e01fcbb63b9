#include "ApduTrace.h"

namespace simcard {

bool ApduTrace::Open(const std::string& path)
{
    if (path.empty())
        return true;
    m_out.open(path, std::ios::out | std::ios::trunc);
    return m_out.is_open();
}

std::string ApduTrace::Hex(const std::vector<uint8_t>& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (uint8_t byte : bytes) {
        if (!text.empty())
            text += ' ';
        text += digits[byte >> 4];
        text += digits[byte & 0x0F];
    }
    return text;
}

void ApduTrace::Line(char direction, const std::vector<uint8_t>& bytes)
{
    if (m_out.is_open())
        m_out << direction << ' ' << Hex(bytes) << std::endl;
}

void ApduTrace::Note(const std::string& text)
{
    if (m_out.is_open())
        m_out << "# " << text << std::endl;
}

} // namespace simcard
