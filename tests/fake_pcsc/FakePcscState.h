// Inside of the PC/SC test double: the state shared by the test-facing API
// (FakePcsc.cpp) and the SCard... entry points (FakeWinscard.cpp).
#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FakePcsc.h"

namespace fake_pcsc {

// Result codes of the fake, as `long` like LONG on both platforms.
namespace code {
constexpr long Success = 0;
constexpr long InvalidHandle = static_cast<long>(0x80100003UL);
constexpr long InsufficientBuffer = static_cast<long>(0x80100008UL);
constexpr long UnknownReader = static_cast<long>(0x80100009UL);
constexpr long Timeout = static_cast<long>(0x8010000AUL);
constexpr long NoSmartcard = static_cast<long>(0x8010000CUL);
constexpr long ProtoMismatch = static_cast<long>(0x8010000FUL);
constexpr long InvalidValue = static_cast<long>(0x80100011UL);
constexpr long CommError = static_cast<long>(0x80100013UL);
constexpr long NoReadersAvailable = static_cast<long>(0x8010002EUL);
constexpr long RemovedCard = static_cast<long>(0x80100069UL);
} // namespace code

// Handle values: contexts and cards in separate ranges, so that one passed
// for the other is caught as an invalid handle.
constexpr uint32_t ContextBase = 0x10000;
constexpr uint32_t CardBase = 0x20000;

struct FakeReader {
    std::string name;
    bool cardPresent = true;
    bool powered = false;
    unsigned insertion = 0; // counts card insertions; stale connections see a change
};

struct FakeConnection {
    std::string reader;
    unsigned insertion = 0;
};

struct State {
    std::vector<FakeReader> readers;
    std::map<uint32_t, bool> contexts; // handle -> still valid
    std::map<uint32_t, FakeConnection> cards;
    std::map<const void*, std::unique_ptr<char[]>> buffers;
    uint32_t contextsMade = 0;
    uint32_t cardsMade = 0;
    unsigned long activeProtocol = 1;

    long failEstablish = 0;
    long failList = 0;
    long failStatusChange = 0;
    long failConnect = 0;
    long failReconnect = 0;
    long failDisconnect = 0;

    std::deque<Exchange> script;
    size_t commandsSent = 0;
    Responder responder;
    ResetHandler resetHandler;
    FailureHandler failureHandler;

    std::vector<Call> calls;
    std::vector<std::string> failures;
};

State& TheState();

void ReportFailure(const std::string& message);
FakeReader* FindReader(const std::string& name);
// Powers up or resets the card of `reader` and tells the reset handler.
void NotifyReset(const std::string& reader);

std::string ContextName(uint64_t handle);
std::string CardName(uint64_t handle);
bool IsValidContext(uint64_t handle);

// The card's answer to `command`, from the responder or the script.
long AnswerCommand(const std::string& reader, const Bytes& command, Bytes& response);

} // namespace fake_pcsc
