// The WinSCard functions this DLL forwards to the host.
#include <windows.h>
#include <winscard.h>

#include <algorithm>
#include <memory>

#include "BridgeConnection.h"
#include "CallerBuffers.h"
#include "ReaderText.h"

using namespace bridge;


extern "C" {
const SCARD_IO_REQUEST g_rgSCardT0Pci = {SCARD_PROTOCOL_T0, sizeof(SCARD_IO_REQUEST)};
const SCARD_IO_REQUEST g_rgSCardT1Pci = {SCARD_PROTOCOL_T1, sizeof(SCARD_IO_REQUEST)};
const SCARD_IO_REQUEST g_rgSCardRawPci = {SCARD_PROTOCOL_RAW, sizeof(SCARD_IO_REQUEST)};
}

namespace {

LONG Result(uint32_t result)
{
    return static_cast<LONG>(result);
}

uint32_t Wire(ULONG_PTR handle)
{
    return static_cast<uint32_t>(handle);
}

template <class ReaderState, class ToUtf8>
LONG GetStatusChange(SCARDCONTEXT context, DWORD timeout, ReaderState* states, DWORD count, ToUtf8 toUtf8)
{
    if (count > kMaxReaderStates)
        return Result(kResultInvalidParameter);
    if (count > 0 && !states)
        return Result(kResultInvalidParameter);
    GetStatusChangeRequest request;
    request.context = Wire(context);
    request.timeout = timeout;
    for (DWORD i = 0; i < count; ++i) {
        if (!states[i].szReader)
            return Result(kResultInvalidParameter);
        std::optional<std::string> name = toUtf8(states[i].szReader);
        if (!name)
            return Result(kResultInvalidParameter);
        request.states.push_back(ReaderStateIn{*name, states[i].dwCurrentState});
    }
    GetStatusChangeReply reply;
    bridge_connection::CallOptions options;
    options.cancellable = true;
    options.deadlineMs = timeout == INFINITE ? bridge_connection::kNoDeadline
                                             : timeout + bridge_connection::kWaitMarginMs;
    uint32_t result = bridge_connection::CallOnContext(request.context, request, reply, options);
    // The event states are meaningful on success and on a time-out only.
    const bool statesValid = result == 0 || result == kResultTimeout;
    if (statesValid) {
        if (reply.states.size() != count)
            return Result(kResultCommError); // not an answer to what was asked
        for (DWORD i = 0; i < count; ++i) {
            const ReaderStateOut& out = reply.states[i];
            states[i].dwEventState = out.eventState;
            size_t atrLength = std::min(out.atr.size(), sizeof states[i].rgbAtr);
            std::copy_n(out.atr.begin(), atrLength, states[i].rgbAtr);
            states[i].cbAtr = static_cast<DWORD>(atrLength);
        }
    }
    return Result(result);
}

template <class Char, class ToUtf8>
LONG Connect(SCARDCONTEXT context, const Char* reader, DWORD shareMode, DWORD protocols, SCARDHANDLE* card,
             DWORD* activeProtocol, ToUtf8 toUtf8)
{
    if (!reader || !card || !activeProtocol)
        return Result(kResultInvalidParameter);
    std::optional<std::string> name = toUtf8(reader);
    if (!name)
        return Result(kResultInvalidParameter);
    ConnectRequest request;
    request.context = Wire(context);
    request.reader = *name;
    request.shareMode = shareMode;
    request.preferredProtocols = protocols;
    ConnectReply reply;
    uint32_t result = bridge_connection::CallOnContext(request.context, request, reply);
    if (result == 0) {
        if (bridge_connection::ForCard(reply.card)) {
            // Cannot be told apart from a card this process already holds.
            DisconnectReply ignored;
            bridge_connection::CallOnContext(request.context, DisconnectRequest{reply.card, SCARD_LEAVE_CARD}, ignored);
            return Result(kResultInternalError);
        }
        bridge_connection::AddCard(reply.card, request.context);
        *card = reply.card;
        *activeProtocol = reply.activeProtocol;
    }
    return Result(result);
}

template <class Char, class Names>
LONG ListReaders(SCARDCONTEXT context, Char* readers, DWORD* length, Names names)
{
    if (!length)
        return Result(kResultInvalidParameter);
    ListReadersRequest request;
    request.context = Wire(context);
    ListReadersReply reply;
    uint32_t result = bridge_connection::CallOnContext(request.context, request, reply);
    if (result != 0)
        return Result(result);
    return Result(caller_buffers::DeliverString(reader_text::MultiString(names(reply.readers)), readers, length));
}

template <class Char, class Names>
LONG Status(SCARDHANDLE card, Char* readerNames, DWORD* readerLength, DWORD* state, DWORD* protocol, BYTE* atr,
            DWORD* atrLength, Names names)
{
    StatusRequest request;
    request.card = Wire(card);
    StatusReply reply;
    uint32_t result = bridge_connection::CallOnCard(request.card, request, reply);
    if (result != 0)
        return Result(result);
    if (state)
        *state = reply.state;
    if (protocol)
        *protocol = reply.protocol;
    const bool namesAllocated = readerNames && readerLength && *readerLength == caller_buffers::kAutoAllocate;
    if (readerLength) {
        result = caller_buffers::DeliverString(reader_text::MultiString(names(reply.readers)), readerNames,
                                               readerLength);
        if (result != 0)
            return Result(result);
    }
    if (atrLength)
        result = caller_buffers::Deliver(reply.atr.data(), reply.atr.size(), 1, atr, atrLength);
    if (result != 0 && namesAllocated) {
        // The call fails: the caller never frees the names' block.
        void** block = reinterpret_cast<void**>(readerNames);
        caller_buffers::FreeBlock(*block);
        *block = nullptr;
    }
    return Result(result);
}

std::optional<std::string> WideName(const wchar_t* name)
{
    return reader_text::WideToUtf8(name);
}

std::optional<std::string> AnsiName(const char* name)
{
    return reader_text::AnsiToUtf8(name);
}

} // namespace

extern "C" {

LONG WINAPI SCardEstablishContext(DWORD dwScope, LPCVOID, LPCVOID, LPSCARDCONTEXT phContext)
{
    if (!phContext)
        return Result(kResultInvalidParameter);
    EstablishContextRequest request;
    request.scope = dwScope;
    auto connection = std::make_shared<bridge_connection::Connection>();
    if (!connection->Open())
        return Result(kResultNoService);
    EstablishContextReply reply;
    uint32_t result = connection->Call(request, reply);
    if (result != 0)
        return Result(result);
    if (reply.cancelKey.size() != kCancelKeySize) {
        ReleaseContextReply ignored;
        connection->Call(ReleaseContextRequest{reply.context}, ignored);
        return Result(kResultCommError);
    }
    if (bridge_connection::ForContext(reply.context)) {
        // Cannot be told apart from a context this process already holds.
        ReleaseContextReply ignored;
        connection->Call(ReleaseContextRequest{reply.context}, ignored);
        return Result(kResultInternalError);
    }
    bridge_connection::AddContext(reply.context, connection, reply.cancelKey);
    *phContext = reply.context;
    return 0;
}

LONG WINAPI SCardReleaseContext(SCARDCONTEXT hContext)
{
    ReleaseContextRequest request;
    request.context = Wire(hContext);
    // A wait on the context from another thread would hold up the release.
    bridge_connection::CancelWait(request.context);
    ReleaseContextReply reply;
    uint32_t result = bridge_connection::CallOnContext(request.context, request, reply);
    // Gone either way: released, or its connection (and so the context) is lost.
    bridge_connection::RemoveContext(request.context);
    return Result(result);
}

// Ends a status-change wait on the context from another thread; it returns
// SCARD_E_CANCELLED.
LONG WINAPI SCardCancel(SCARDCONTEXT hContext)
{
    return Result(bridge_connection::CancelWait(Wire(hContext)));
}

LONG WINAPI SCardIsValidContext(SCARDCONTEXT hContext)
{
    IsValidContextRequest request;
    request.context = Wire(hContext);
    IsValidContextReply reply;
    return Result(bridge_connection::CallOnContext(request.context, request, reply));
}

// The group filter is not passed on: pcsc-lite knows no reader groups.
LONG WINAPI SCardListReadersW(SCARDCONTEXT hContext, LPCWSTR, LPWSTR mszReaders, LPDWORD pcchReaders)
{
    return ListReaders(hContext, mszReaders, pcchReaders, reader_text::WideNames);
}

LONG WINAPI SCardListReadersA(SCARDCONTEXT hContext, LPCSTR, LPSTR mszReaders, LPDWORD pcchReaders)
{
    return ListReaders(hContext, mszReaders, pcchReaders, reader_text::AnsiNames);
}

LONG WINAPI SCardFreeMemory(SCARDCONTEXT, LPCVOID pvMem)
{
    if (!pvMem)
        return 0;
    return caller_buffers::FreeBlock(pvMem) ? 0 : Result(kResultInvalidParameter);
}

LONG WINAPI SCardGetStatusChangeW(SCARDCONTEXT hContext, DWORD dwTimeout, LPSCARD_READERSTATEW rgReaderStates,
                                  DWORD cReaders)
{
    return GetStatusChange(hContext, dwTimeout, rgReaderStates, cReaders, WideName);
}

LONG WINAPI SCardGetStatusChangeA(SCARDCONTEXT hContext, DWORD dwTimeout, LPSCARD_READERSTATEA rgReaderStates,
                                  DWORD cReaders)
{
    return GetStatusChange(hContext, dwTimeout, rgReaderStates, cReaders, AnsiName);
}

LONG WINAPI SCardConnectW(SCARDCONTEXT hContext, LPCWSTR szReader, DWORD dwShareMode, DWORD dwPreferredProtocols,
                          LPSCARDHANDLE phCard, LPDWORD pdwActiveProtocol)
{
    return Connect(hContext, szReader, dwShareMode, dwPreferredProtocols, phCard, pdwActiveProtocol, WideName);
}

LONG WINAPI SCardConnectA(SCARDCONTEXT hContext, LPCSTR szReader, DWORD dwShareMode, DWORD dwPreferredProtocols,
                          LPSCARDHANDLE phCard, LPDWORD pdwActiveProtocol)
{
    return Connect(hContext, szReader, dwShareMode, dwPreferredProtocols, phCard, pdwActiveProtocol, AnsiName);
}

LONG WINAPI SCardReconnect(SCARDHANDLE hCard, DWORD dwShareMode, DWORD dwPreferredProtocols,
                           DWORD dwInitialization, LPDWORD pdwActiveProtocol)
{
    ReconnectRequest request;
    request.card = Wire(hCard);
    request.shareMode = dwShareMode;
    request.preferredProtocols = dwPreferredProtocols;
    request.initialization = dwInitialization;
    ReconnectReply reply;
    uint32_t result = bridge_connection::CallOnCard(request.card, request, reply);
    if (result == 0 && pdwActiveProtocol)
        *pdwActiveProtocol = reply.activeProtocol;
    return Result(result);
}

LONG WINAPI SCardDisconnect(SCARDHANDLE hCard, DWORD dwDisposition)
{
    DisconnectRequest request;
    request.card = Wire(hCard);
    request.disposition = dwDisposition;
    DisconnectReply reply;
    uint32_t result = bridge_connection::CallOnCard(request.card, request, reply);
    if (result == 0 || result == kResultInvalidHandle)
        bridge_connection::RemoveCard(request.card);
    return Result(result);
}

LONG WINAPI SCardBeginTransaction(SCARDHANDLE hCard)
{
    BeginTransactionRequest request;
    request.card = Wire(hCard);
    BeginTransactionReply reply;
    bridge_connection::CallOptions options;
    options.deadlineMs = bridge_connection::kTransactionDeadlineMs;
    return Result(bridge_connection::CallOnCard(request.card, request, reply, options));
}

LONG WINAPI SCardEndTransaction(SCARDHANDLE hCard, DWORD dwDisposition)
{
    EndTransactionRequest request;
    request.card = Wire(hCard);
    request.disposition = dwDisposition;
    EndTransactionReply reply;
    return Result(bridge_connection::CallOnCard(request.card, request, reply));
}

LONG WINAPI SCardTransmit(SCARDHANDLE hCard, LPCSCARD_IO_REQUEST pioSendPci, LPCBYTE pbSendBuffer,
                          DWORD cbSendLength, LPSCARD_IO_REQUEST pioRecvPci, LPBYTE pbRecvBuffer,
                          LPDWORD pcbRecvLength)
{
    if (!pioSendPci || !pbSendBuffer || !pbRecvBuffer || !pcbRecvLength || cbSendLength > kMaxApduSize)
        return Result(kResultInvalidParameter);
    TransmitRequest request;
    request.card = Wire(hCard);
    request.protocol = pioSendPci->dwProtocol;
    request.command.assign(pbSendBuffer, pbSendBuffer + cbSendLength);
    request.receiveCapacity = *pcbRecvLength;
    TransmitReply reply;
    uint32_t result = bridge_connection::CallOnCard(request.card, request, reply);
    if (result != 0)
        return Result(result);
    if (reply.response.size() > *pcbRecvLength)
        return Result(kResultInsufficientBuffer); // the host never sends more than asked
    std::copy(reply.response.begin(), reply.response.end(), pbRecvBuffer);
    *pcbRecvLength = static_cast<DWORD>(reply.response.size());
    if (pioRecvPci) {
        pioRecvPci->dwProtocol = pioSendPci->dwProtocol;
        pioRecvPci->cbPciLength = sizeof(SCARD_IO_REQUEST);
    }
    return 0;
}

LONG WINAPI SCardStatusW(SCARDHANDLE hCard, LPWSTR szReaderName, LPDWORD pcchReaderLen, LPDWORD pdwState,
                         LPDWORD pdwProtocol, LPBYTE pbAtr, LPDWORD pcbAtrLen)
{
    return Status(hCard, szReaderName, pcchReaderLen, pdwState, pdwProtocol, pbAtr, pcbAtrLen,
                  reader_text::WideNames);
}

LONG WINAPI SCardStatusA(SCARDHANDLE hCard, LPSTR szReaderName, LPDWORD pcchReaderLen, LPDWORD pdwState,
                         LPDWORD pdwProtocol, LPBYTE pbAtr, LPDWORD pcbAtrLen)
{
    return Status(hCard, szReaderName, pcchReaderLen, pdwState, pdwProtocol, pbAtr, pcbAtrLen,
                  reader_text::AnsiNames);
}

} // extern "C"
