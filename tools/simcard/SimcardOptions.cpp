#include "SimcardOptions.h"

#include <cerrno>
#include <cstdlib>

namespace simcard {

const char* const SimcardUsage =
    "usage: simcard --profile FILE [--port N] [--trace FILE] [--counts FILE]\n"
    "               [--remove-after N] [--insert-when FILE]\n"
    "Plugs a simulated GSM SIM into pcscd's vpcd reader on 127.0.0.1:PORT\n"
    "(default 35963, the first 'Virtual PCD' reader).\n"
    "  --profile FILE      the card's contents (profiles/*.json)\n"
    "  --trace FILE        log every command and response\n"
    "  --counts FILE       write the command counts there at exit\n"
    "  --remove-after N    answer N commands, then pull the card out\n"
    "                      (the next command gets no answer)\n"
    "  --insert-when FILE  insert the card only once FILE exists\n"
    "Stops on SIGTERM or SIGINT and prints its command counts.\n";

namespace {

bool ParseNumber(const std::string& text, uint64_t maximum, uint64_t& value)
{
    if (text.empty() || text[0] == '-')
        return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long number = std::strtoull(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || number > maximum)
        return false;
    value = number;
    return true;
}

} // namespace

std::optional<SimcardOptions> ParseSimcardOptions(int argc, const char* const* argv, std::string& error)
{
    SimcardOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            error.clear();
            return std::nullopt;
        }
        if (i + 1 >= argc) {
            error = option + " needs a value";
            return std::nullopt;
        }
        const std::string value = argv[++i];
        uint64_t number = 0;
        if (option == "--profile") {
            options.profile = value;
        } else if (option == "--port") {
            if (!ParseNumber(value, 0xFFFF, number) || number == 0) {
                error = "bad port: " + value;
                return std::nullopt;
            }
            options.port = static_cast<uint16_t>(number);
        } else if (option == "--trace") {
            options.traceFile = value;
        } else if (option == "--counts") {
            options.countsFile = value;
        } else if (option == "--insert-when") {
            options.insertWhen = value;
        } else if (option == "--remove-after") {
            if (!ParseNumber(value, UINT32_MAX, number)) {
                error = "bad command count: " + value;
                return std::nullopt;
            }
            options.removeAfter = number;
        } else {
            error = "unknown option " + option;
            return std::nullopt;
        }
    }
    if (options.profile.empty()) {
        error = "--profile is required";
        return std::nullopt;
    }
    return options;
}

} // namespace simcard
