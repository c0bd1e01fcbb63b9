#include "ClientCalls.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "CancelRegistry.h"
#include "RandomBytes.h"
#include "WindowsValues.h"

using namespace bridge;

namespace {

// A long status-change wait is cut into slices of this length, so that the
// wait ends soon after the client has gone.
constexpr DWORD kWaitSliceMs = 200;
constexpr uint32_t kInfinite = 0xFFFFFFFF;

uint32_t Result(LONG rv)
{
    return static_cast<uint32_t>(rv);
}

uint32_t WireValue(unsigned long handle)
{
    return static_cast<uint32_t>(handle);
}

// Splits a pcsc-lite multi-string (names each ended by NUL, then an empty
// name) of `length` characters into names.
std::vector<std::string> SplitMultiString(const char* text, size_t length)
{
    std::vector<std::string> names;
    size_t start = 0;
    while (start < length) {
        size_t end = start;
        while (end < length && text[end] != '\0')
            ++end;
        if (end == start)
            break;
        names.emplace_back(text + start, end - start);
        start = end + 1;
    }
    return names;
}

} // namespace

ClientCalls::ClientCalls(std::function<bool()> peerGone) : m_peerGone(std::move(peerGone)) {}

ClientCalls::~ClientCalls()
{
    EndAll();
}

void ClientCalls::EndAll()
{
    for (auto& [wire, card] : m_cards)
        SCardDisconnect(card.handle, SCARD_RESET_CARD);
    m_cards.clear();
    for (auto& [wire, context] : m_contexts)
        ReleaseContext(wire, context);
    m_contexts.clear();
}

LONG ClientCalls::ReleaseContext(uint32_t wire, SCARDCONTEXT context)
{
    CancelRegistry::Instance().Remove(wire);
    return SCardReleaseContext(context);
}

std::vector<uint8_t> ClientCalls::Execute(const Request& request)
{
    return std::visit([this](const auto& r) { return Run(r); }, request);
}

std::vector<uint8_t> ClientCalls::Run(const EstablishContextRequest& request)
{
    EstablishContextReply reply;
    if (m_contexts.size() >= kMaxContexts) {
        reply.result = kResultNoMemory;
        return ReplyFrame(reply);
    }
    std::vector<uint8_t> key = RandomBytes(kCancelKeySize);
    if (key.empty()) {
        reply.result = kResultInternalError;
        return ReplyFrame(reply);
    }
    SCARDCONTEXT context = 0;
    LONG rv = SCardEstablishContext(request.scope, nullptr, nullptr, &context);
    if (rv == SCARD_S_SUCCESS) {
        uint32_t wire = WireValue(context);
        if (wire == 0 || !CancelRegistry::Instance().Add(wire, context, key)) {
            // Cannot be told apart on the wire from one a client holds.
            SCardReleaseContext(context);
            reply.result = kResultInternalError;
            return ReplyFrame(reply);
        }
        m_contexts[wire] = context;
        reply.context = wire;
        reply.cancelKey = std::move(key);
    }
    reply.result = Result(rv);
    return ReplyFrame(reply);
}

std::vector<uint8_t> ClientCalls::Run(const ReleaseContextRequest& request)
{
    ReleaseContextReply reply;
    auto it = m_contexts.find(request.context);
    if (it == m_contexts.end()) {
        reply.result = kResultInvalidHandle;
        return ReplyFrame(reply);
    }
    // pcsc-lite ends the context's card handles with it.
    std::erase_if(m_cards, [&](const auto& entry) { return entry.second.context == request.context; });
    reply.result = Result(ReleaseContext(it->first, it->second));
    m_contexts.erase(it);
    return ReplyFrame(reply);
}

std::vector<uint8_t> ClientCalls::Run(const IsValidContextRequest& request)
{
    IsValidContextReply reply;
    auto it = m_contexts.find(request.context);
    reply.result = it == m_contexts.end() ? kResultInvalidHandle : Result(SCardIsValidContext(it->second));
    return ReplyFrame(reply);
}

std::vector<uint8_t> ClientCalls::Run(const ListReadersRequest& request)
{
    ListReadersReply reply;
    auto it = m_contexts.find(request.context);
    if (it == m_contexts.end()) {
        reply.result = kResultInvalidHandle;
        return ReplyFrame(reply);
    }
    LONG rv = SCARD_E_INSUFFICIENT_BUFFER;
    std::vector<char> names;
    // The list may grow between asking its length and fetching it.
    for (int attempt = 0; attempt < 3 && rv == SCARD_E_INSUFFICIENT_BUFFER; ++attempt) {
        DWORD length = 0;
        rv = SCardListReaders(it->second, nullptr, nullptr, &length);
        if (rv != SCARD_S_SUCCESS)
            break;
        names.assign(length, '\0');
        rv = SCardListReaders(it->second, nullptr, names.data(), &length);
        if (rv == SCARD_S_SUCCESS)
            names.resize(std::min<size_t>(length, names.size()));
    }
    if (rv == SCARD_S_SUCCESS) {
        reply.readers = SplitMultiString(names.data(), names.size());
        if (reply.readers.size() > kMaxReaders)
            reply.readers.resize(kMaxReaders);
    }
    reply.result = Result(rv);
    return ReplyFrame(reply);
}

LONG ClientCalls::WaitForStatusChange(uint32_t wire, SCARDCONTEXT context, uint32_t timeout,
                                      std::vector<SCARD_READERSTATE>& states)
{
    const auto start = std::chrono::steady_clock::now();
    const std::vector<SCARD_READERSTATE> asked = states;
    CancelRegistry& cancels = CancelRegistry::Instance();
    cancels.BeginWait(wire);
    for (;;) {
        DWORD slice = kWaitSliceMs;
        if (timeout != kInfinite) {
            auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
            uint64_t left = elapsed.count() >= timeout ? 0 : timeout - static_cast<uint64_t>(elapsed.count());
            slice = static_cast<DWORD>(std::min<uint64_t>(left, kWaitSliceMs));
        }
        states = asked;
        LONG rv = SCardGetStatusChange(context, slice, states.data(), static_cast<DWORD>(states.size()));
        if (rv == SCARD_E_TIMEOUT && cancels.Cancelled(wire))
            rv = SCARD_E_CANCELLED; // cancelled between two slices
        // A slice shorter than the full one was the last of a finite wait.
        if (rv != SCARD_E_TIMEOUT || slice < kWaitSliceMs || m_peerGone()) {
            cancels.EndWait(wire);
            return rv;
        }
    }
}

std::vector<uint8_t> ClientCalls::Run(const GetStatusChangeRequest& request)
{
    GetStatusChangeReply reply;
    auto it = m_contexts.find(request.context);
    if (it == m_contexts.end()) {
        reply.result = kResultInvalidHandle;
        return ReplyFrame(reply);
    }
    std::vector<SCARD_READERSTATE> states(request.states.size());
    for (size_t i = 0; i < states.size(); ++i) {
        std::memset(&states[i], 0, sizeof states[i]);
        states[i].szReader = request.states[i].reader.c_str();
        states[i].dwCurrentState = request.states[i].currentState;
    }
    LONG rv = WaitForStatusChange(it->first, it->second, request.timeout, states);
    for (const SCARD_READERSTATE& state : states) {
        ReaderStateOut out;
        out.eventState = static_cast<uint32_t>(state.dwEventState);
        size_t atrLength = std::min<size_t>({state.cbAtr, sizeof state.rgbAtr, kMaxAtrSize});
        out.atr.assign(state.rgbAtr, state.rgbAtr + atrLength);
        reply.states.push_back(std::move(out));
    }
    reply.result = Result(rv);
    return ReplyFrame(reply);
}

std::vector<uint8_t> ClientCalls::Run(const ConnectRequest& request)
{
    ConnectReply reply;
    auto it = m_contexts.find(request.context);
    if (it == m_contexts.end()) {
        reply.result = kResultInvalidHandle;
        return ReplyFrame(reply);
    }
    if (m_cards.size() >= kMaxCards) {
        reply.result = kResultNoMemory;
        return ReplyFrame(reply);
    }
    SCARDHANDLE card = 0;
    DWORD active = 0;
    LONG rv = SCardConnect(it->second, request.reader.c_str(), request.shareMode,
                           windows_values::ProtocolsToPcscLite(request.preferredProtocols), &card, &active);
    if (rv == SCARD_S_SUCCESS) {
        uint32_t wire = WireValue(card);
        if (wire == 0 || m_cards.count(wire)) {
            SCardDisconnect(card, SCARD_LEAVE_CARD);
            reply.result = kResultInternalError;
            return ReplyFrame(reply);
        }
        m_cards[wire] = Card{card, request.context};
        reply.card = wire;
        reply.activeProtocol = windows_values::ProtocolsFromPcscLite(static_cast<uint32_t>(active));
    }
    reply.result = Result(rv);
    return ReplyFrame(reply);
}

std::vector<uint8_t> ClientCalls::Run(const ReconnectRequest& request)
{
    ReconnectReply reply;
    auto it = m_cards.find(request.card);
    if (it == m_cards.end()) {
        reply.result = kResultInvalidHandle;
        return ReplyFrame(reply);
    }
    DWORD active = 0;
    LONG rv = SCardReconnect(it->second.handle, request.shareMode,
                             windows_values::ProtocolsToPcscLite(request.preferredProtocols), request.initialization,
                             &active);
    if (rv == SCARD_S_SUCCESS)
        reply.activeProtocol = windows_values::ProtocolsFromPcscLite(static_cast<uint32_t>(active));
    reply.result = Result(rv);
    return ReplyFrame(reply);
}

std::vector<uint8_t> ClientCalls::Run(const DisconnectRequest& request)
{
    DisconnectReply reply;
    auto it = m_cards.find(request.card);
    if (it == m_cards.end()) {
        reply.result = kResultInvalidHandle;
        return ReplyFrame(reply);
    }
    LONG rv = SCardDisconnect(it->second.handle, request.disposition);
    if (rv == SCARD_S_SUCCESS || rv == SCARD_E_INVALID_HANDLE)
        m_cards.erase(it);
    reply.result = Result(rv);
    return ReplyFrame(reply);
}

std::vector<uint8_t> ClientCalls::Run(const BeginTransactionRequest& request)
{
    BeginTransactionReply reply;
    auto it = m_cards.find(request.card);
    reply.result = it == m_cards.end() ? kResultInvalidHandle : Result(SCardBeginTransaction(it->second.handle));
    return ReplyFrame(reply);
}

std::vector<uint8_t> ClientCalls::Run(const EndTransactionRequest& request)
{
    EndTransactionReply reply;
    auto it = m_cards.find(request.card);
    reply.result = it == m_cards.end() ? kResultInvalidHandle
                                       : Result(SCardEndTransaction(it->second.handle, request.disposition));
    return ReplyFrame(reply);
}

std::vector<uint8_t> ClientCalls::Run(const TransmitRequest& request)
{
    TransmitReply reply;
    auto it = m_cards.find(request.card);
    if (it == m_cards.end()) {
        reply.result = kResultInvalidHandle;
        return ReplyFrame(reply);
    }
    SCARD_IO_REQUEST sendPci;
    sendPci.dwProtocol = windows_values::ProtocolsToPcscLite(request.protocol);
    sendPci.cbPciLength = sizeof sendPci;
    uint8_t response[kMaxApduSize];
    DWORD responseLength = std::min<DWORD>(request.receiveCapacity, sizeof response);
    LONG rv = SCardTransmit(it->second.handle, &sendPci, request.command.data(),
                            static_cast<DWORD>(request.command.size()), nullptr, response, &responseLength);
    if (rv == SCARD_S_SUCCESS)
        reply.response.assign(response, response + std::min<size_t>(responseLength, sizeof response));
    reply.result = Result(rv);
    return ReplyFrame(reply);
}

std::vector<uint8_t> ClientCalls::Run(const StatusRequest& request)
{
    StatusReply reply;
    auto it = m_cards.find(request.card);
    if (it == m_cards.end()) {
        reply.result = kResultInvalidHandle;
        return ReplyFrame(reply);
    }
    char names[kMaxReaders * (kMaxReaderNameSize + 1) + 1];
    DWORD namesLength = sizeof names;
    DWORD state = 0;
    DWORD protocol = 0;
    uint8_t atr[MAX_ATR_SIZE];
    DWORD atrLength = sizeof atr;
    LONG rv = SCardStatus(it->second.handle, names, &namesLength, &state, &protocol, atr, &atrLength);
    if (rv == SCARD_S_SUCCESS) {
        reply.readers = SplitMultiString(names, std::min<size_t>(namesLength, sizeof names));
        if (reply.readers.size() > kMaxReaders)
            reply.readers.resize(kMaxReaders);
        reply.state = windows_values::CardStateFromPcscLite(static_cast<uint32_t>(state));
        reply.protocol = windows_values::ProtocolsFromPcscLite(static_cast<uint32_t>(protocol));
        reply.atr.assign(atr, atr + std::min<size_t>({atrLength, sizeof atr, kMaxAtrSize}));
    }
    reply.result = Result(rv);
    return ReplyFrame(reply);
}

std::vector<uint8_t> ClientCalls::Run(const CancelRequest& request)
{
    return ReplyFrame(CancelRegistry::Instance().Cancel(request));
}
