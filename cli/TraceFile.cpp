#include "TraceFile.h"

#include <cerrno>
#include <cstring>

#include "PrivateFile.h"
#include "card/ResultText.h"

namespace {

// The instructions whose data is a PIN or an unblocking key.
bool CarriesSecret(uint8_t ins)
{
    return ins == 0x20 || ins == 0x24 || ins == 0x26 || ins == 0x28 || ins == 0x2C;
}

constexpr size_t HeaderLength = 5; // CLA INS P1 P2 P3

void AppendHex(std::string& text, uint8_t byte)
{
    static const char digits[] = "0123456789ABCDEF";
    text += ' ';
    text += digits[byte >> 4];
    text += digits[byte & 0x0F];
}

} // namespace

std::string TraceCommandText(const uint8_t* command, size_t length)
{
    std::string text = ">";
    const bool secret = length > 1 && CarriesSecret(command[1]);
    for (size_t i = 0; i < length; ++i) {
        if (secret && i >= HeaderLength)
            text += " **";
        else
            AppendHex(text, command[i]);
    }
    return text;
}

std::string TraceResponseText(long result, const uint8_t* response, size_t length)
{
    if (result != 0)
        return "< error " + PcscResultText(result);
    if (length == 0)
        return "< (empty)";
    std::string text = "<";
    for (size_t i = 0; i < length; ++i)
        AppendHex(text, response[i]);
    return text;
}

std::string TraceTimestamp(std::chrono::system_clock::time_point time)
{
    // The calendar of <chrono> rather than gmtime_r, which Windows lacks.
    using namespace std::chrono;
    const auto sinceEpoch = duration_cast<microseconds>(time.time_since_epoch());
    const auto day = floor<days>(sinceEpoch);
    const year_month_day date{sys_days{day}};
    const hh_mm_ss clock{sinceEpoch - day};
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%06lldZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()), static_cast<long long>(clock.subseconds().count()));
    return text;
}

TraceFile::~TraceFile()
{
    if (m_file != nullptr)
        std::fclose(m_file);
}

bool TraceFile::Open(const std::string& path, std::string& error)
{
    std::string reason;
    m_file = CreatePrivateFile(path, reason);
    if (m_file == nullptr) {
        error = "cannot create the trace " + path + ": " + reason;
        return false;
    }
    // Each line reaches the file at once: a read that hangs still leaves its trace.
    std::setvbuf(m_file, nullptr, _IOLBF, 0);
    m_path = path;
    Note("velmora-cli trace: > command, < answer; PIN data written as **");
    return true;
}

void TraceFile::Note(const std::string& text)
{
    WriteLine("# " + text);
}

void TraceFile::OnCommand(const uint8_t* command, size_t length)
{
    WriteLine(TraceTimestamp(std::chrono::system_clock::now()) + " " + TraceCommandText(command, length));
}

void TraceFile::OnResponse(LONG result, const uint8_t* response, size_t length)
{
    WriteLine(TraceTimestamp(std::chrono::system_clock::now()) + " " + TraceResponseText(result, response, length));
}

void TraceFile::WriteLine(const std::string& text)
{
    if (m_file == nullptr || m_writeError != 0)
        return;
    errno = 0;
    if (std::fputs(text.c_str(), m_file) == EOF || std::fputc('\n', m_file) == EOF)
        m_writeError = errno != 0 ? errno : EIO;
}

bool TraceFile::Close(std::string& error)
{
    if (m_file == nullptr)
        return true;
    errno = 0;
    const int closed = std::fclose(m_file);
    m_file = nullptr;
    if (m_writeError == 0 && closed != 0)
        m_writeError = errno != 0 ? errno : EIO;
    if (m_writeError != 0) {
        error = "cannot write the trace " + m_path + ": " + std::strerror(m_writeError);
        return false;
    }
    return true;
}
