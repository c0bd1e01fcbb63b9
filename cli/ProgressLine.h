// The one-line progress display on a terminal while records are read:
// "Reading ADN (6F3A): record 17 of 250". It follows the APDUs: SELECT names
// the file, the GET RESPONSE header gives the number of records, each READ
// RECORD its number. Any other command clears the line, so that prompts and
// messages never land on it.
#pragma once
#include <chrono>
#include <cstdio>
#include <string>

#include "card/ApduObserver.h"

class ProgressLine final : public IApduObserver {
public:
    // Writes to `terminal`; a record is shown at most every `interval`
    // (the first and the last record of a file always).
    explicit ProgressLine(std::FILE* terminal, std::chrono::milliseconds interval = std::chrono::milliseconds(40));

    void OnCommand(const uint8_t* command, size_t length) override;
    void OnResponse(LONG result, const uint8_t* response, size_t length) override;
    // Erases the line if one is shown.
    void Clear();

private:
    void Show(unsigned record);

    std::FILE* m_terminal;
    std::chrono::milliseconds m_interval;
    std::chrono::steady_clock::time_point m_lastShown{};
    uint8_t m_lastInstruction = 0;
    bool m_selectAnswered = false; // the last SELECT found a file: its header follows
    uint16_t m_fileId = 0;
    unsigned m_recordCount = 0; // 0: not known
    bool m_shown = false;
};

// "ADN (6F3A)" for the files with a common name, "EF 6F99" otherwise.
std::string ProgressFileName(uint16_t fileId);
