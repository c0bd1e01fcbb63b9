// Command line of the `simcard` program.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace simcard {

struct SimcardOptions {
    std::string profile;
    uint16_t port = 0x8C7B;             // vpcd's first reader by default
    std::string traceFile;
    std::string countsFile;             // command counts, written at exit
    std::string insertWhen;             // connect only once this file exists
    std::optional<uint64_t> removeAfter; // answer this many commands, then leave
};

// Parses argv; on failure returns nullopt with `error` set (empty for --help).
std::optional<SimcardOptions> ParseSimcardOptions(int argc, const char* const* argv, std::string& error);

extern const char* const SimcardUsage;

} // namespace simcard
