// pcsc-replay: the transport limit of a full read. Sends the command APDUs
// of a recorded read ("> A0 A4 ..." lines of a simcard trace) through PC/SC
// exactly as velmora-cli does around them (context, connect, reset,
// transaction, and a reset between two commands where the trace has one:
// "# reset"), decodes nothing, and prints the seconds of each run
// ("run S C"). Given a program after "--", it also runs that as a whole
// process beside each replay, its input read from --input ("cli S C"), so that
// the two kinds of read alternate and a change in the machine's load falls
// on both alike. With --start, each pair also times PROGRAM --version spawned
// the same way ("start S C"): the cost of starting a process at all, which the
// replay, timed inside its own process, does not pay; and the replay as a
// process of its own ("bare S C"): pcsc-replay started again with --once,
// the commands already encoded on its standard input, so that it parses
// nothing and only connects, sends them and exits. S is seconds on the wall
// clock, C seconds of processor time (user and system) of the process.
//
//   pcsc-replay --reader NAME --trace FILE [--runs N] [--input FILE [--start] -- PROGRAM ARGS...]
//   pcsc-replay --reader NAME --once < ENCODED-COMMANDS
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "WholeProcessTimer.h"
#include "card/ReceiveRoom.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Command {
    Bytes bytes;
    bool resetBefore = false; // the card was reset after the previous command
};

std::vector<Command> ReadCommands(const std::string& path)
{
    std::vector<Command> commands;
    std::ifstream in(path);
    std::string line;
    bool reset = false;
    while (std::getline(in, line)) {
        // Resets before the first command are the connect's, replayed as such.
        if (line == "# reset" && !commands.empty())
            reset = true;
        if (line.rfind("> ", 0) != 0)
            continue;
        std::istringstream hex(line.substr(2));
        Command command;
        unsigned value = 0;
        while (hex >> std::hex >> value)
            command.bytes.push_back(static_cast<uint8_t>(value));
        command.resetBefore = reset;
        reset = false;
        commands.push_back(command);
    }
    return commands;
}

// The commands as --once reads them: per command a reset flag, its length in
// two bytes and its bytes.
bool WriteEncoded(const std::vector<Command>& commands, std::FILE* out)
{
    for (const Command& command : commands) {
        const size_t size = command.bytes.size();
        const uint8_t head[3] = {command.resetBefore, static_cast<uint8_t>(size >> 8), static_cast<uint8_t>(size)};
        if (size > 0xFFFF || std::fwrite(head, 1, 3, out) != 3 ||
            std::fwrite(command.bytes.data(), 1, size, out) != size)
            return false;
    }
    return std::fflush(out) == 0;
}

std::vector<Command> ReadEncoded(std::FILE* in)
{
    std::vector<Command> commands;
    uint8_t head[3];
    while (std::fread(head, 1, 3, in) == 3) {
        Command command;
        command.resetBefore = head[0] != 0;
        command.bytes.resize(static_cast<size_t>(head[1]) << 8 | head[2]);
        if (std::fread(command.bytes.data(), 1, command.bytes.size(), in) != command.bytes.size())
            return {};
        commands.push_back(std::move(command));
    }
    return commands;
}

// The encoded commands in an unlinked temporary file, for --once's input:
// the child opens it through this process's /proc entry while it is held.
struct EncodedFile {
    std::FILE* file = nullptr;
    std::string path;
    ~EncodedFile()
    {
        if (file != nullptr)
            std::fclose(file);
    }
};

bool Encode(const std::vector<Command>& commands, EncodedFile& encoded)
{
    encoded.file = std::tmpfile();
    if (encoded.file == nullptr || !WriteEncoded(commands, encoded.file))
        return false;
    encoded.path = "/proc/" + std::to_string(getpid()) + "/fd/" + std::to_string(fileno(encoded.file));
    return true;
}

// A reset between commands, as velmora-cli makes it: out of the transaction.
LONG ResetBetween(SCARDHANDLE card)
{
    SCardEndTransaction(card, SCARD_LEAVE_CARD);
    DWORD protocol = 0;
    LONG result = SCardReconnect(card, SCARD_SHARE_SHARED, SCARD_PROTOCOL_T0, SCARD_RESET_CARD, &protocol);
    if (result == SCARD_S_SUCCESS)
        result = SCardBeginTransaction(card);
    return result;
}

// One read: returns false on a PC/SC error, which it prints.
bool ReplayOnce(const std::string& reader, const std::vector<Command>& commands)
{
    SCARDCONTEXT context = 0;
    LONG result = SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &context);
    SCARDHANDLE card = 0;
    DWORD protocol = 0;
    if (result == SCARD_S_SUCCESS)
        result = SCardConnect(context, reader.c_str(), SCARD_SHARE_SHARED, SCARD_PROTOCOL_T0, &card, &protocol);
    if (result == SCARD_S_SUCCESS)
        result = SCardReconnect(card, SCARD_SHARE_SHARED, protocol, SCARD_RESET_CARD, &protocol);
    if (result == SCARD_S_SUCCESS)
        result = SCardBeginTransaction(card);
    card_detail::ResponseBuffer response{};
    for (size_t i = 0; result == SCARD_S_SUCCESS && i < commands.size(); ++i) {
        const Bytes& command = commands[i].bytes;
        if (commands[i].resetBefore)
            result = ResetBetween(card);
        DWORD received = card_detail::ReceiveRoomFor(command.data(), command.size());
        if (result == SCARD_S_SUCCESS)
            result = SCardTransmit(card, SCARD_PCI_T0, command.data(), static_cast<DWORD>(command.size()), nullptr,
                                   response.data(), &received);
    }
    if (card != 0) {
        SCardEndTransaction(card, SCARD_LEAVE_CARD);
        SCardDisconnect(card, SCARD_RESET_CARD);
    }
    if (context != 0)
        SCardReleaseContext(context);
    if (result != SCARD_S_SUCCESS)
        std::fprintf(stderr, "pcsc-replay: %s (0x%08lX)\n", pcsc_stringify_error(result),
                     static_cast<unsigned long>(result) & 0xFFFFFFFFUL);
    return result == SCARD_S_SUCCESS;
}

} // namespace

int main(int argc, char** argv)
{
    std::string reader;
    std::string trace;
    std::vector<std::string> cli;
    std::string input;
    int runs = 5;
    bool timeStart = false;
    bool once = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--") {
            cli.assign(argv + i + 1, argv + argc);
            break;
        }
        if (option == "--start" || option == "--once") { // take no value
            (option == "--start" ? timeStart : once) = true;
            continue;
        }
        if (i + 1 == argc)
            break; // an option without its value: the checks below refuse what is missing
        const std::string value = argv[++i];
        if (option == "--reader")
            reader = value;
        else if (option == "--trace")
            trace = value;
        else if (option == "--runs")
            runs = std::stoi(value);
        else if (option == "--input")
            input = value;
    }
    if (once) { // the replay as a process of its own, timed by its parent
        const std::vector<Command> encodedCommands = ReadEncoded(stdin);
        return !reader.empty() && !encodedCommands.empty() && ReplayOnce(reader, encodedCommands) ? 0 : 1;
    }
    const std::vector<Command> commands = ReadCommands(trace);
    if (reader.empty() || commands.empty() || runs < 1 || cli.empty() != input.empty() || (timeStart && cli.empty())) {
        std::fputs("usage: pcsc-replay --reader NAME --trace FILE [--runs N] [--input FILE [--start] -- PROGRAM ARGS...]"
                   " (the trace needs commands)\n",
                   stderr);
        return 1;
    }
    // With --start, the bare loop also runs as a process: this program again.
    EncodedFile encoded;
    std::string self;
    if (timeStart) {
        std::error_code error;
        self = std::filesystem::read_symlink("/proc/self/exe", error);
        if (error || !Encode(commands, encoded)) {
            std::perror("pcsc-replay: cannot encode the commands");
            return 1;
        }
    }
    std::printf("commands %zu\n", commands.size());
    std::printf("resets %zu\n", static_cast<size_t>(std::count_if(commands.begin(), commands.end(),
                                                                   [](const Command& c) { return c.resetBefore; })));
    // Each timing line: its kind, the seconds on the wall clock and the
    // seconds of processor time.
    const auto print = [](const char* kind, const ProcessTimes& times) {
        std::printf("%s %.6f %.6f\n", kind, times.seconds, times.cpuSeconds);
    };
    const auto timeCli = [&] {
        const std::optional<ProcessTimes> whole = TimeWholeProcess(cli, input);
        if (whole)
            print("cli", *whole);
        if (!whole || !timeStart)
            return whole.has_value();
        const std::optional<ProcessTimes> start = TimeWholeProcess({cli.front(), "--version"}, input);
        if (start)
            print("start", *start);
        const std::optional<ProcessTimes> bare =
            start ? TimeWholeProcess({self, "--once", "--reader", reader}, encoded.path) : std::nullopt;
        if (bare)
            print("bare", *bare);
        return bare.has_value();
    };
    const auto timeReplay = [&] {
        const double cpu = OwnCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        if (!ReplayOnce(reader, commands))
            return false;
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        print("run", {seconds.count(), OwnCpuSeconds() - cpu});
        return true;
    };
    for (int run = 0; run < runs; ++run) {
        // The program goes first in every other pair, so that neither kind
        // of read always follows the other.
        const bool cliFirst = run % 2 == 0;
        if (!cli.empty() && cliFirst && !timeCli())
            return 1;
        if (!timeReplay())
            return 1;
        if (!cli.empty() && !cliFirst && !timeCli())
            return 1;
    }
    return 0;
}
