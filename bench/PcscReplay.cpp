// pcsc-replay: the transport limit of a full read. Sends the command APDUs
// of a recorded read ("> A0 A4 ..." lines of a simcard trace) through PC/SC
// exactly as velmora-cli does around them (context, connect, reset,
// transaction), decodes nothing, and prints the seconds of each run
// ("run S"). Given a program after "--", it also runs that as a whole
// process beside each replay, its input read from --input ("cli S"), so that
// the two kinds of read alternate and a change in the machine's load falls
// on both alike.
//
//   pcsc-replay --reader NAME --trace FILE [--runs N] [--input FILE -- PROGRAM ARGS...]
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "WholeProcessTimer.h"
#include "card/ReceiveRoom.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::vector<Bytes> ReadCommands(const std::string& path)
{
    std::vector<Bytes> commands;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("> ", 0) != 0)
            continue;
        std::istringstream hex(line.substr(2));
        Bytes command;
        unsigned value = 0;
        while (hex >> std::hex >> value)
            command.push_back(static_cast<uint8_t>(value));
        commands.push_back(command);
    }
    return commands;
}

// One read: returns false on a PC/SC error, which it prints.
bool ReplayOnce(const std::string& reader, const std::vector<Bytes>& commands)
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
        DWORD received = card_detail::ReceiveRoomFor(commands[i].data(), commands[i].size());
        result = SCardTransmit(card, SCARD_PCI_T0, commands[i].data(), static_cast<DWORD>(commands[i].size()), nullptr,
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
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--") {
            cli.assign(argv + i + 1, argv + argc);
            break;
        }
        if (option == "--reader")
            reader = argv[i + 1];
        else if (option == "--trace")
            trace = argv[i + 1];
        else if (option == "--runs")
            runs = std::stoi(argv[i + 1]);
        else if (option == "--input")
            input = argv[i + 1];
    }
    const std::vector<Bytes> commands = ReadCommands(trace);
    if (reader.empty() || commands.empty() || runs < 1 || cli.empty() != input.empty()) {
        std::fputs("usage: pcsc-replay --reader NAME --trace FILE [--runs N] [--input FILE -- PROGRAM ARGS...]"
                   " (the trace needs commands)\n",
                   stderr);
        return 1;
    }
    std::printf("commands %zu\n", commands.size());
    const auto timeCli = [&] {
        const std::optional<double> seconds = TimeWholeProcess(cli, input);
        if (seconds)
            std::printf("cli %.6f\n", *seconds);
        return seconds.has_value();
    };
    const auto timeReplay = [&] {
        const auto start = std::chrono::steady_clock::now();
        if (!ReplayOnce(reader, commands))
            return false;
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        std::printf("run %.6f\n", seconds.count());
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
