// A text log of everything the card exchanged, one line per message:
//   > A0 A4 00 00 02 3F 00     command
//   < 9F 17                    response
//   # reset                    control message
#pragma once
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace simcard {

class ApduTrace {
public:
    // No file name: tracing is off.
    bool Open(const std::string& path);
    void Command(const std::vector<uint8_t>& bytes) { Line('>', bytes); }
    void Response(const std::vector<uint8_t>& bytes) { Line('<', bytes); }
    void Note(const std::string& text);

    static std::string Hex(const std::vector<uint8_t>& bytes);

private:
    void Line(char direction, const std::vector<uint8_t>& bytes);

    std::ofstream m_out;
};

} // namespace simcard
