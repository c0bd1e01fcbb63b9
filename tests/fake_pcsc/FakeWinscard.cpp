// The SCard... entry points of the PC/SC test double, with the platform's own
// signatures: pcsc-lite's natively, WinSCard's (WINAPI, ...W names) on
// Windows. Each one records itself and works on the shared fake state.
#ifdef _WIN32
#include <windows.h>
#define WINSCARDDATA
#include <winscard.h>
#define FAKE_API WINAPI
#define FAKE_WIDE(name) name##W
using FakeChar = wchar_t;
using FakeReaderState = SCARD_READERSTATEW;
#else
#include <PCSC/winscard.h>
#include <PCSC/wintypes.h>
#define FAKE_API
#define FAKE_WIDE(name) name
using FakeChar = char;
using FakeReaderState = SCARD_READERSTATE;
#endif

#include <cstdio>
#include <cstring>
#include <string>

#include "FakePcscState.h"
#include "sim/text/UtfCodec.h"

using namespace fake_pcsc;

const SCARD_IO_REQUEST g_rgSCardT0Pci = {SCARD_PROTOCOL_T0, sizeof(SCARD_IO_REQUEST)};
const SCARD_IO_REQUEST g_rgSCardT1Pci = {SCARD_PROTOCOL_T1, sizeof(SCARD_IO_REQUEST)};
const SCARD_IO_REQUEST g_rgSCardRawPci = {SCARD_PROTOCOL_RAW, sizeof(SCARD_IO_REQUEST)};

namespace {

using FakeString = std::basic_string<FakeChar>;

// Reader names are UTF-8 in the fake; the Windows build converts them.
#ifdef _WIN32
FakeString ToPlatform(const std::string& utf8)
{
    const std::u16string wide = Utf8ToUtf16(utf8);
    return FakeString(wide.begin(), wide.end());
}

std::string FromPlatform(const FakeChar* text)
{
    const FakeString wide(text);
    return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}
#else
FakeString ToPlatform(const std::string& utf8)
{
    return utf8;
}

std::string FromPlatform(const FakeChar* text)
{
    return text;
}
#endif

std::string Quoted(const FakeChar* text)
{
    return text ? "\"" + FromPlatform(text) + "\"" : std::string("null");
}

std::string Hex32(unsigned long value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%lX", value);
    return text;
}

std::string Pointer(const void* p)
{
    return p ? "given" : "null";
}

long Record(const char* function, std::string arguments, long result, Bytes command = {})
{
    TheState().calls.push_back(Call{function, std::move(arguments), std::move(command), result, {}});
    return result;
}

// The live connection of `hCard`, or null.
FakeConnection* FindCard(SCARDHANDLE hCard)
{
    auto& cards = TheState().cards;
    const uint64_t value = static_cast<uint64_t>(hCard);
    auto it = value <= UINT32_MAX ? cards.find(static_cast<uint32_t>(value)) : cards.end();
    return it == cards.end() ? nullptr : &it->second;
}

// The card of the connection is still the one it connected to.
bool CardStillThere(const FakeConnection& connection)
{
    const FakeReader* reader = FindReader(connection.reader);
    return reader && reader->cardPresent && reader->insertion == connection.insertion;
}

bool Resets(DWORD disposition)
{
    return disposition == SCARD_RESET_CARD || disposition == SCARD_UNPOWER_CARD;
}

// Every listed reader name, each ended by NUL, then an empty name.
FakeString MultiString()
{
    FakeString names;
    for (const FakeReader& reader : TheState().readers) {
        names += ToPlatform(reader.name);
        names += FakeChar(0);
    }
    names += FakeChar(0);
    return names;
}

std::string PciName(const SCARD_IO_REQUEST* pci)
{
    if (pci == nullptr)
        return "null";
    if (pci == &g_rgSCardT0Pci)
        return "T0";
    if (pci == &g_rgSCardT1Pci)
        return "T1";
    if (pci == &g_rgSCardRawPci)
        return "raw";
    return "other";
}

} // namespace

LONG FAKE_API SCardEstablishContext(DWORD dwScope, LPCVOID pvReserved1, LPCVOID pvReserved2,
                                    LPSCARDCONTEXT phContext)
{
    State& s = TheState();
    const std::string arguments = "scope=" + std::to_string(dwScope) + ", reserved1=" + Pointer(pvReserved1) +
                                  ", reserved2=" + Pointer(pvReserved2);
    if (s.failEstablish != 0)
        return Record("SCardEstablishContext", arguments, s.failEstablish);
    if (phContext == nullptr)
        return Record("SCardEstablishContext", arguments, code::InvalidValue);
    const uint32_t handle = ContextBase + ++s.contextsMade;
    s.contexts[handle] = true;
    *phContext = static_cast<SCARDCONTEXT>(handle);
    return Record("SCardEstablishContext", arguments, code::Success);
}

LONG FAKE_API SCardReleaseContext(SCARDCONTEXT hContext)
{
    const std::string arguments = ContextName(hContext);
    const bool valid = IsValidContext(hContext);
    TheState().contexts.erase(static_cast<uint32_t>(hContext));
    return Record("SCardReleaseContext", arguments, valid ? code::Success : code::InvalidHandle);
}

LONG FAKE_API SCardIsValidContext(SCARDCONTEXT hContext)
{
    return Record("SCardIsValidContext", ContextName(hContext),
                  IsValidContext(hContext) ? code::Success : code::InvalidHandle);
}

LONG FAKE_API FAKE_WIDE(SCardListReaders)(SCARDCONTEXT hContext, const FakeChar* mszGroups, FakeChar* mszReaders,
                                          LPDWORD pcchReaders)
{
    State& s = TheState();
    const bool autoAllocate = pcchReaders && *pcchReaders == SCARD_AUTOALLOCATE;
    const std::string arguments =
        ContextName(hContext) + ", groups=" + Quoted(mszGroups) + ", readers=" + Pointer(mszReaders) +
        ", length=" + (pcchReaders ? (autoAllocate ? "AUTOALLOCATE" : std::to_string(*pcchReaders)) : "null");
    if (!IsValidContext(hContext))
        return Record("SCardListReaders", arguments, code::InvalidHandle);
    if (s.failList != 0)
        return Record("SCardListReaders", arguments, s.failList);
    if (pcchReaders == nullptr)
        return Record("SCardListReaders", arguments, code::InvalidValue);
    if (s.readers.empty())
        return Record("SCardListReaders", arguments, code::NoReadersAvailable);

    const FakeString names = MultiString();
    const DWORD needed = static_cast<DWORD>(names.size());
    if (autoAllocate) {
        if (mszReaders == nullptr)
            return Record("SCardListReaders", arguments, code::InvalidValue);
        std::unique_ptr<char[]> buffer(new char[names.size() * sizeof(FakeChar)]);
        std::memcpy(buffer.get(), names.data(), names.size() * sizeof(FakeChar));
        *reinterpret_cast<FakeChar**>(mszReaders) = reinterpret_cast<FakeChar*>(buffer.get());
        s.buffers[buffer.get()] = std::move(buffer);
    } else if (mszReaders != nullptr) {
        if (*pcchReaders < needed) {
            *pcchReaders = needed;
            return Record("SCardListReaders", arguments, code::InsufficientBuffer);
        }
        std::memcpy(mszReaders, names.data(), names.size() * sizeof(FakeChar));
    }
    *pcchReaders = needed;
    return Record("SCardListReaders", arguments, code::Success);
}

LONG FAKE_API SCardFreeMemory(SCARDCONTEXT hContext, LPCVOID pvMem)
{
    auto& buffers = TheState().buffers;
    auto it = buffers.find(pvMem);
    const std::string arguments = ContextName(hContext) + ", memory=" + (it != buffers.end() ? "listed" : "unknown");
    if (it == buffers.end()) {
        ReportFailure("SCardFreeMemory of memory the fake did not allocate");
        return Record("SCardFreeMemory", arguments, code::InvalidValue);
    }
    buffers.erase(it);
    return Record("SCardFreeMemory", arguments, code::Success);
}

LONG FAKE_API FAKE_WIDE(SCardGetStatusChange)(SCARDCONTEXT hContext, DWORD dwTimeout,
                                              FakeReaderState* rgReaderStates, DWORD cReaders)
{
    State& s = TheState();
    std::string arguments = ContextName(hContext) + ", timeout=" + std::to_string(dwTimeout) + ", readers=[";
    for (DWORD i = 0; rgReaderStates && i < cReaders; ++i) {
        arguments += (i ? ", " : "") + Quoted(rgReaderStates[i].szReader) +
                     " current=" + Hex32(rgReaderStates[i].dwCurrentState);
    }
    arguments += "], count=" + std::to_string(cReaders);
    if (!IsValidContext(hContext))
        return Record("SCardGetStatusChange", arguments, code::InvalidHandle);
    if (s.failStatusChange != 0)
        return Record("SCardGetStatusChange", arguments, s.failStatusChange);
    if (rgReaderStates == nullptr && cReaders > 0)
        return Record("SCardGetStatusChange", arguments, code::InvalidValue);

    bool changed = false;
    for (DWORD i = 0; i < cReaders; ++i) {
        FakeReaderState& state = rgReaderStates[i];
        const FakeReader* reader = state.szReader ? FindReader(FromPlatform(state.szReader)) : nullptr;
        if (reader == nullptr)
            return Record("SCardGetStatusChange", arguments, code::UnknownReader);
        DWORD event = reader->cardPresent ? SCARD_STATE_PRESENT : SCARD_STATE_EMPTY;
        if (event != (state.dwCurrentState & ~static_cast<DWORD>(SCARD_STATE_CHANGED))) {
            event |= SCARD_STATE_CHANGED;
            changed = true;
        }
        state.dwEventState = event;
        state.cbAtr = 0;
    }
    // The fake never waits: no change is an immediate time-out.
    return Record("SCardGetStatusChange", arguments, changed ? code::Success : code::Timeout);
}

LONG FAKE_API FAKE_WIDE(SCardConnect)(SCARDCONTEXT hContext, const FakeChar* szReader, DWORD dwShareMode,
                                      DWORD dwPreferredProtocols, LPSCARDHANDLE phCard, LPDWORD pdwActiveProtocol)
{
    State& s = TheState();
    const std::string arguments = ContextName(hContext) + ", reader=" + Quoted(szReader) +
                                  ", share=" + std::to_string(dwShareMode) +
                                  ", protocols=" + std::to_string(dwPreferredProtocols);
    if (!IsValidContext(hContext))
        return Record("SCardConnect", arguments, code::InvalidHandle);
    if (s.failConnect != 0)
        return Record("SCardConnect", arguments, s.failConnect);
    if (szReader == nullptr || phCard == nullptr || pdwActiveProtocol == nullptr)
        return Record("SCardConnect", arguments, code::InvalidValue);
    const std::string name = FromPlatform(szReader);
    FakeReader* reader = FindReader(name);
    if (reader == nullptr)
        return Record("SCardConnect", arguments, code::UnknownReader);
    if (!reader->cardPresent)
        return Record("SCardConnect", arguments, code::NoSmartcard);
    if ((dwPreferredProtocols & s.activeProtocol) == 0)
        return Record("SCardConnect", arguments, code::ProtoMismatch);

    const uint32_t handle = CardBase + ++s.cardsMade;
    s.cards[handle] = FakeConnection{name, reader->insertion};
    *phCard = static_cast<SCARDHANDLE>(handle);
    *pdwActiveProtocol = static_cast<DWORD>(s.activeProtocol);
    const bool powerUp = !reader->powered;
    Record("SCardConnect", arguments, code::Success);
    if (powerUp)
        NotifyReset(name);
    return code::Success;
}

LONG FAKE_API SCardReconnect(SCARDHANDLE hCard, DWORD dwShareMode, DWORD dwPreferredProtocols,
                             DWORD dwInitialization, LPDWORD pdwActiveProtocol)
{
    State& s = TheState();
    const std::string arguments = CardName(hCard) + ", share=" + std::to_string(dwShareMode) +
                                  ", protocols=" + std::to_string(dwPreferredProtocols) +
                                  ", init=" + std::to_string(dwInitialization);
    FakeConnection* connection = FindCard(hCard);
    if (connection == nullptr)
        return Record("SCardReconnect", arguments, code::InvalidHandle);
    if (s.failReconnect != 0)
        return Record("SCardReconnect", arguments, s.failReconnect);
    FakeReader* reader = FindReader(connection->reader);
    if (reader == nullptr || !reader->cardPresent)
        return Record("SCardReconnect", arguments, code::RemovedCard);
    if ((dwPreferredProtocols & s.activeProtocol) == 0)
        return Record("SCardReconnect", arguments, code::ProtoMismatch);
    if (pdwActiveProtocol == nullptr)
        return Record("SCardReconnect", arguments, code::InvalidValue);

    connection->insertion = reader->insertion; // a reconnect takes up a reinserted card
    *pdwActiveProtocol = static_cast<DWORD>(s.activeProtocol);
    const std::string name = connection->reader;
    const bool reset = Resets(dwInitialization) || !reader->powered;
    Record("SCardReconnect", arguments, code::Success);
    if (reset)
        NotifyReset(name);
    return code::Success;
}

LONG FAKE_API SCardDisconnect(SCARDHANDLE hCard, DWORD dwDisposition)
{
    const std::string arguments = CardName(hCard) + ", disposition=" + std::to_string(dwDisposition);
    FakeConnection* connection = FindCard(hCard);
    if (connection == nullptr)
        return Record("SCardDisconnect", arguments, code::InvalidHandle);
    const bool reset = Resets(dwDisposition) && CardStillThere(*connection);
    const std::string name = connection->reader;
    TheState().cards.erase(static_cast<uint32_t>(hCard));
    const long result = TheState().failDisconnect;
    Record("SCardDisconnect", arguments, result);
    if (reset)
        NotifyReset(name);
    return result;
}

LONG FAKE_API SCardBeginTransaction(SCARDHANDLE hCard)
{
    const FakeConnection* connection = FindCard(hCard);
    const long result = connection == nullptr       ? code::InvalidHandle
                        : !CardStillThere(*connection) ? code::RemovedCard
                                                       : code::Success;
    return Record("SCardBeginTransaction", CardName(hCard), result);
}

LONG FAKE_API SCardEndTransaction(SCARDHANDLE hCard, DWORD dwDisposition)
{
    const std::string arguments = CardName(hCard) + ", disposition=" + std::to_string(dwDisposition);
    const FakeConnection* connection = FindCard(hCard);
    const long result = connection == nullptr       ? code::InvalidHandle
                        : !CardStillThere(*connection) ? code::RemovedCard
                                                       : code::Success;
    const std::string name = connection ? connection->reader : std::string();
    Record("SCardEndTransaction", arguments, result);
    if (result == code::Success && Resets(dwDisposition))
        NotifyReset(name);
    return result;
}

LONG FAKE_API SCardTransmit(SCARDHANDLE hCard, const SCARD_IO_REQUEST* pioSendPci, LPCBYTE pbSendBuffer,
                            DWORD cbSendLength, SCARD_IO_REQUEST* pioRecvPci, LPBYTE pbRecvBuffer,
                            LPDWORD pcbRecvLength)
{
    Bytes command;
    if (pbSendBuffer != nullptr)
        command.assign(pbSendBuffer, pbSendBuffer + cbSendLength);
    const std::string arguments =
        CardName(hCard) + ", pci=" + PciName(pioSendPci) + ", recvPci=" + PciName(pioRecvPci) +
        ", recvLength=" + (pcbRecvLength ? std::to_string(*pcbRecvLength) : "null") + ", " + Hex(command);
    const FakeConnection* connection = FindCard(hCard);
    if (connection == nullptr)
        return Record("SCardTransmit", arguments, code::InvalidHandle, command);
    if (!CardStillThere(*connection))
        return Record("SCardTransmit", arguments, code::RemovedCard, command);
    if (pbSendBuffer == nullptr || pbRecvBuffer == nullptr || pcbRecvLength == nullptr || pioSendPci == nullptr)
        return Record("SCardTransmit", arguments, code::InvalidValue, command);

    // Recorded before the card answers, so a responder sees the call in the log.
    const size_t index = TheState().calls.size();
    Record("SCardTransmit", arguments, code::Success, command);
    const std::string reader = connection->reader;
    Bytes response;
    long result = AnswerCommand(reader, command, response);
    if (result == code::Success) {
        if (response.size() > *pcbRecvLength) {
            result = code::InsufficientBuffer;
        } else if (!response.empty()) {
            std::memcpy(pbRecvBuffer, response.data(), response.size());
        }
        *pcbRecvLength = static_cast<DWORD>(response.size());
    }
    TheState().calls[index].result = result;
    if (result == code::Success)
        TheState().calls[index].response = response;
    return result;
}

// The fake's cards have no ATR; the reader's name is the one connected to. A
// card still there is present and powered, as pcsc-lite reports it.
LONG FAKE_API FAKE_WIDE(SCardStatus)(SCARDHANDLE hCard, FakeChar* szReaderName, LPDWORD pcchReaderLen,
                                     LPDWORD pdwState, LPDWORD pdwProtocol, LPBYTE pbAtr, LPDWORD pcbAtrLen)
{
    const std::string arguments =
        CardName(hCard) + ", readerLength=" + (pcchReaderLen ? std::to_string(*pcchReaderLen) : "null") +
        ", atrLength=" + (pcbAtrLen ? std::to_string(*pcbAtrLen) : "null");
    const FakeConnection* connection = FindCard(hCard);
    if (connection == nullptr)
        return Record("SCardStatus", arguments, code::InvalidHandle);
    if (!CardStillThere(*connection))
        return Record("SCardStatus", arguments, code::RemovedCard);
    FakeString names = ToPlatform(connection->reader);
    names += FakeChar(0);
    names += FakeChar(0);
    if (pcchReaderLen) {
        if (szReaderName && *pcchReaderLen < names.size()) {
            *pcchReaderLen = static_cast<DWORD>(names.size());
            return Record("SCardStatus", arguments, code::InsufficientBuffer);
        }
        if (szReaderName)
            std::memcpy(szReaderName, names.data(), names.size() * sizeof(FakeChar));
        *pcchReaderLen = static_cast<DWORD>(names.size());
    }
    if (pdwState)
        *pdwState = SCARD_PRESENT | SCARD_POWERED | SCARD_SPECIFIC;
    if (pdwProtocol)
        *pdwProtocol = static_cast<DWORD>(TheState().activeProtocol);
    (void)pbAtr;
    if (pcbAtrLen)
        *pcbAtrLen = 0;
    return Record("SCardStatus", arguments, code::Success);
}

// The fake never waits, so there is nothing to cancel.
LONG FAKE_API SCardCancel(SCARDCONTEXT hContext)
{
    return Record("SCardCancel", ContextName(hContext),
                  IsValidContext(hContext) ? code::Success : code::InvalidHandle);
}
