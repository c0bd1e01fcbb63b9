// --trace FILE: every command sent to the card and every answer, one line
// each with a time stamp, written as it happens so that a trace of a read
// that hangs or crashes is still there. The data of the PIN commands is
// written as "**", so a trace can be shared without giving the PIN away.
//
//   2026-12-08T13:05:01.123456Z > A0 20 00 01 08 ** ** ** ** ** ** ** **
//   2026-12-08T13:05:01.131002Z < 90 00
#pragma once
#include <chrono>
#include <cstdio>
#include <string>

#include "card/ApduObserver.h"

// "> A0 A4 00 00 02 3F 00"; the data of VERIFY (20), CHANGE (24), DISABLE
// (26), ENABLE (28) and UNBLOCK CHV (2C) as "**" a byte, whatever the class.
std::string TraceCommandText(const uint8_t* command, size_t length);
// "< 9F 16", "< (empty)" for a success without bytes, or the PC/SC error:
// "< error SCARD_W_REMOVED_CARD (0x80100069)".
std::string TraceResponseText(long result, const uint8_t* response, size_t length);
// "2026-12-08T13:05:01.123456Z" (UTC, microseconds).
std::string TraceTimestamp(std::chrono::system_clock::time_point time);

class TraceFile final : public IApduObserver {
public:
    TraceFile() = default;
    ~TraceFile();
    TraceFile(const TraceFile&) = delete;
    TraceFile& operator=(const TraceFile&) = delete;

    // Creates (or empties) `path`, readable by its owner only and never
    // through a symbolic link; false with `error` set when it cannot.
    bool Open(const std::string& path, std::string& error);
    // A "# text" line.
    void Note(const std::string& text);
    void OnCommand(const uint8_t* command, size_t length) override;
    void OnResponse(LONG result, const uint8_t* response, size_t length) override;
    // Closes the file; false with `error` set when a write or the close
    // failed (the first failure is kept; nothing is written after it).
    bool Close(std::string& error);

private:
    void WriteLine(const std::string& text);

    std::FILE* m_file = nullptr;
    std::string m_path;
    int m_writeError = 0; // errno of the first failed write
};
