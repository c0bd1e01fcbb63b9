// The test-facing side of the PC/SC test double: set-up, script and log.
#include "FakePcsc.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <memory>

#include "FakePcscState.h"

namespace fake_pcsc {

State& TheState()
{
    static State state;
    return state;
}

void ReportFailure(const std::string& message)
{
    State& s = TheState();
    s.failures.push_back(message);
    if (s.failureHandler)
        s.failureHandler(message);
}

FakeReader* FindReader(const std::string& name)
{
    for (FakeReader& reader : TheState().readers) {
        if (reader.name == name)
            return &reader;
    }
    return nullptr;
}

void NotifyReset(const std::string& reader)
{
    if (FakeReader* r = FindReader(reader))
        r->powered = true;
    State& s = TheState();
    if (s.resetHandler)
        s.resetHandler(reader);
}

std::string ContextName(uint64_t handle)
{
    if (handle > ContextBase && handle <= ContextBase + TheState().contextsMade)
        return "ctx#" + std::to_string(handle - ContextBase);
    return "ctx?" + std::to_string(handle);
}

std::string CardName(uint64_t handle)
{
    if (handle > CardBase && handle <= CardBase + TheState().cardsMade)
        return "card#" + std::to_string(handle - CardBase);
    return "card?" + std::to_string(handle);
}

bool IsValidContext(uint64_t handle)
{
    const auto& contexts = TheState().contexts;
    auto it = contexts.find(static_cast<uint32_t>(handle));
    return handle <= UINT32_MAX && it != contexts.end() && it->second;
}

namespace {

// Both byte strings with a caret line under the first difference.
std::string HexDiff(const Bytes& expected, const Bytes& sent)
{
    size_t first = 0;
    while (first < expected.size() && first < sent.size() && expected[first] == sent[first])
        ++first;
    return "  expected " + Hex(expected) + "\n  sent     " + Hex(sent) + "\n           " +
           std::string(first * 3, ' ') + "^^";
}

} // namespace

long AnswerCommand(const std::string& reader, const Bytes& command, Bytes& response)
{
    State& s = TheState();
    const size_t number = ++s.commandsSent;
    if (s.responder)
        return s.responder(reader, command, response);
    if (s.script.empty()) {
        ReportFailure("command " + std::to_string(number) + " is not in the script: " + Hex(command));
        return code::CommError;
    }
    Exchange exchange = s.script.front();
    s.script.pop_front();
    if (exchange.command != command) {
        ReportFailure("command " + std::to_string(number) + " differs from the script:\n" +
                      HexDiff(exchange.command, command));
        return code::CommError;
    }
    if (exchange.error != 0)
        return exchange.error;
    response = exchange.response;
    return code::Success;
}

std::string Call::Text() const
{
    return function + "(" + arguments + ")";
}

void Reset()
{
    State& s = TheState();
    FailureHandler keep = std::move(s.failureHandler);
    s = State{};
    s.failureHandler = std::move(keep);
}

void SetReaders(const std::vector<std::string>& names)
{
    State& s = TheState();
    s.readers.clear();
    for (const std::string& name : names)
        s.readers.push_back(FakeReader{name});
}

void AddReader(const std::string& name)
{
    TheState().readers.push_back(FakeReader{name});
}

void RemoveReader(const std::string& name)
{
    auto& readers = TheState().readers;
    readers.erase(std::remove_if(readers.begin(), readers.end(),
                                 [&](const FakeReader& r) { return r.name == name; }),
                  readers.end());
}

void SetCardPresent(const std::string& reader, bool present)
{
    FakeReader* r = FindReader(reader);
    if (!r) {
        ReportFailure("SetCardPresent: no reader \"" + reader + "\"");
        return;
    }
    if (present && !r->cardPresent)
        ++r->insertion;
    r->cardPresent = present;
    if (!present)
        r->powered = false;
}

void SetActiveProtocol(unsigned long protocol)
{
    TheState().activeProtocol = protocol;
}

void FailEstablishContext(long error)
{
    TheState().failEstablish = error;
}

void FailListReaders(long error)
{
    TheState().failList = error;
}

void FailGetStatusChange(long error)
{
    TheState().failStatusChange = error;
}

void FailConnect(long error)
{
    TheState().failConnect = error;
}

void FailReconnect(long error)
{
    TheState().failReconnect = error;
}

void FailDisconnect(long error)
{
    TheState().failDisconnect = error;
}

void InvalidateContexts()
{
    for (auto& context : TheState().contexts)
        context.second = false;
}

void ExpectExchanges(const std::vector<Exchange>& exchanges)
{
    State& s = TheState();
    s.script.insert(s.script.end(), exchanges.begin(), exchanges.end());
}

size_t PendingExchangeCount()
{
    return TheState().script.size();
}

void ExpectScriptDone()
{
    for (const Exchange& exchange : TheState().script)
        ReportFailure("scripted command was never sent: " + Hex(exchange.command));
}

void SetResponder(Responder responder)
{
    TheState().responder = std::move(responder);
}

void SetResetHandler(ResetHandler handler)
{
    TheState().resetHandler = std::move(handler);
}

const std::vector<Call>& Calls()
{
    return TheState().calls;
}

std::vector<std::string> CallTexts()
{
    std::vector<std::string> texts;
    for (const Call& call : Calls())
        texts.push_back(call.Text());
    return texts;
}

std::vector<std::string> CallNames()
{
    std::vector<std::string> names;
    for (const Call& call : Calls())
        names.push_back(call.function);
    return names;
}

std::vector<Bytes> SentCommands()
{
    std::vector<Bytes> commands;
    for (const Call& call : Calls()) {
        if (call.function == "SCardTransmit")
            commands.push_back(call.command);
    }
    return commands;
}

void ClearCalls()
{
    TheState().calls.clear();
}

const std::vector<std::string>& Failures()
{
    return TheState().failures;
}

void SetFailureHandler(FailureHandler handler)
{
    TheState().failureHandler = std::move(handler);
}

size_t OpenContextCount()
{
    return TheState().contexts.size();
}

size_t OpenCardCount()
{
    return TheState().cards.size();
}

size_t UnfreedBufferCount()
{
    return TheState().buffers.size();
}

Responder ResponsesFromBytes(const uint8_t* data, size_t size)
{
    auto bytes = std::make_shared<Bytes>(data, data + size);
    auto position = std::make_shared<size_t>(0);
    return [bytes, position](const std::string&, const Bytes&, Bytes& response) -> long {
        const Bytes& b = *bytes;
        size_t& p = *position;
        if (p >= b.size())
            return code::RemovedCard;
        size_t length = b[p++];
        if (length == 0xFF)
            return code::CommError;
        if (length == 0xFE) {
            if (p >= b.size())
                return code::RemovedCard;
            length = 254 + b[p++];
        }
        if (b.size() - p < length) {
            p = b.size();
            return code::RemovedCard;
        }
        response.assign(b.begin() + static_cast<std::ptrdiff_t>(p), b.begin() + static_cast<std::ptrdiff_t>(p + length));
        p += length;
        return code::Success;
    };
}

std::string Hex(const Bytes& bytes)
{
    std::string text;
    char digits[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(bytes[i]));
        if (i > 0)
            text += ' ';
        text += digits;
    }
    return text;
}

Bytes FromHex(const std::string& text)
{
    Bytes bytes;
    int high = -1;
    for (char c : text) {
        if (c == ' ')
            continue;
        int value = -1;
        if (c >= '0' && c <= '9')
            value = c - '0';
        else if (c >= 'A' && c <= 'F')
            value = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            value = c - 'a' + 10;
        if (value < 0) {
            ReportFailure("FromHex: not a hex digit in \"" + text + "\"");
            return bytes;
        }
        if (high < 0) {
            high = value;
        } else {
            bytes.push_back(static_cast<uint8_t>(high * 16 + value));
            high = -1;
        }
    }
    if (high >= 0)
        ReportFailure("FromHex: odd number of digits in \"" + text + "\"");
    return bytes;
}

} // namespace fake_pcsc
