// The command line of velmora-cli.
#pragma once
#include <optional>
#include <string>
#include <vector>

// One --sort: a column by title (any list that has it) or by index (every
// list that has that many columns), and the direction wanted.
struct SortRequest {
    std::string column; // as given: "Number", "date", "1"
    bool descending = false;
};

struct CliOptions {
    bool help = false;
    bool version = false;
    bool listReaders = false;
    std::string reader = "0"; // index or name
    std::optional<std::string> exportDir;
    std::vector<SortRequest> sorts;
    bool json = false;
    bool full = false; // --full: read and decode everything, beyond the dialog
    std::optional<std::string> traceFile; // --trace: every APDU with a time stamp
};

// Parses argv[1..]. On a bad command line returns nullopt and sets `error`.
std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args, std::string& error);

// The --help text.
std::string CliUsage();

// The --version line: the program and the version the build was made as.
std::string CliVersion();
