#include "ProgressLine.h"

#include <algorithm>

#include "HexText.h"
#include "card/StatusWords.h"
#include "sim/DiallingNumbers.h"
#include "sim/Instructions.h"
#include "sim/SimFiles.h"

namespace {

using simfile::HeaderLength;

// "\r", then erase to the end of the line.
constexpr const char* EraseLine = "\r\x1b[K";

} // namespace

std::string ProgressFileName(uint16_t fileId)
{
    struct Named {
        uint16_t id;
        const char* name;
    };
    static constexpr Named names[] = {
        {simfile::EfAdn, "ADN"},    {simfile::EfFdn, "FDN"},   {simfile::EfSms, "SMS"},   {simfile::EfMsisdn, "MSISDN"},
        {simfile::EfLnd, "LND"},    {simfile::EfSdn, "SDN"},   {simfile::EfExt1, "EXT1"}, {simfile::EfExt2, "EXT2"},
        {simfile::EfExt3, "EXT3"}};
    const std::string hex = FileIdText(fileId);
    for (const Named& named : names) {
        if (named.id == fileId)
            return std::string(named.name) + " (" + hex + ")";
    }
    return "EF " + hex;
}

ProgressLine::ProgressLine(std::FILE* terminal, std::chrono::milliseconds interval)
    : m_terminal(terminal), m_interval(interval)
{
}

void ProgressLine::OnCommand(const uint8_t* command, size_t length)
{
    m_lastInstruction = length >= 2 ? command[1] : 0;
    if (m_lastInstruction != InsReadRecord)
        Clear();
    if (m_lastInstruction == InsSelect) {
        m_fileId = length >= 7 ? static_cast<uint16_t>(command[5] << 8 | command[6]) : 0;
        m_recordCount = 0;
    } else if (m_lastInstruction == InsReadRecord && length >= 3) {
        Show(command[2]);
    }
}

void ProgressLine::OnResponse(LONG result, const uint8_t* response, size_t length)
{
    if (m_lastInstruction == InsSelect) {
        // An elementary file answers 9F 0F; a directory's header holds no records.
        m_selectAnswered = result == 0 && length == 2 && response[0] == card_detail::Sw1ResponseWaiting &&
                           response[1] == HeaderLength;
        return;
    }
    if (m_lastInstruction != InsGetResponse || !m_selectAnswered)
        return;
    m_selectAnswered = false;
    if (result != 0 || length != HeaderLength + 2)
        return;
    const unsigned fileSize = response[2] * 256u + response[3];
    const unsigned recordLength = response[14];
    m_recordCount = recordLength == 0 ? 0 : std::min<unsigned>(fileSize / recordLength, MaxRecordNumber);
}

void ProgressLine::Show(unsigned record)
{
    const auto now = std::chrono::steady_clock::now();
    if (record != 1 && record != m_recordCount && now - m_lastShown < m_interval)
        return;
    m_lastShown = now;
    const std::string of = m_recordCount != 0 ? " of " + std::to_string(m_recordCount) : "";
    std::fprintf(m_terminal, "%sReading %s: record %u%s", EraseLine, ProgressFileName(m_fileId).c_str(), record,
                 of.c_str());
    std::fflush(m_terminal);
    m_shown = true;
}

void ProgressLine::Clear()
{
    if (!m_shown)
        return;
    std::fputs(EraseLine, m_terminal);
    std::fflush(m_terminal);
    m_shown = false;
}
