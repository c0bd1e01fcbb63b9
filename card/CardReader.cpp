// CCardReader: presence, connection and transactions of one reader.
#include "CardReader.h"

#include <algorithm>

#include "sim/ResultCodes.h"

CCardReader::CCardReader(SCARDCONTEXT hContext, const pcsc::ReaderChar* szName)
    : m_szName(szName ? szName : pcsc::ReaderName()), m_hContext(hContext), m_hCard(0)
{
}

CCardReader::~CCardReader()
{
    Disconnect();
}

bool CCardReader::IsCardPresent()
{
    // A zeroed record asks for the current state (SCARD_STATE_UNAWARE).
    pcsc::ReaderState state{};
    state.szReader = m_szName.c_str();
    const LONG result = pcsc::GetStatusChange(m_hContext, 0, &state, 1);
    return result == sc::Success && (state.dwEventState & SCARD_STATE_PRESENT) != 0;
}

LONG CCardReader::Connect(DWORD preferredProtocols)
{
    LONG result = sc::Success;
    DWORD protocol = preferredProtocols;
    if (m_hCard == 0) {
        // Into a local handle: a failed connect leaves m_hCard at 0 whatever
        // the library wrote.
        SCARDHANDLE hCard = 0;
        DWORD activeProtocol = 0;
        result = pcsc::Connect(m_hContext, m_szName.c_str(), SCARD_SHARE_SHARED, preferredProtocols, &hCard,
                               &activeProtocol);
        if (result == sc::Success) {
            m_hCard = hCard;
            protocol = activeProtocol;
        }
    }
    if (result == sc::Success) {
        // Always start from a freshly reset card: no PIN verified earlier holds.
        DWORD activeProtocol = 0;
        result = SCardReconnect(m_hCard, SCARD_SHARE_SHARED, protocol, SCARD_RESET_CARD, &activeProtocol);
    }
    return result;
}

LONG CCardReader::ResetCard()
{
    DWORD activeProtocol = 0;
    return SCardReconnect(m_hCard, SCARD_SHARE_SHARED, SCARD_PROTOCOL_T0, SCARD_RESET_CARD, &activeProtocol);
}

void CCardReader::Disconnect()
{
    if (m_hCard != 0) {
        SCardDisconnect(m_hCard, SCARD_RESET_CARD);
        m_hCard = 0;
    }
}

LONG CCardReader::BeginTransaction()
{
    return SCardBeginTransaction(m_hCard);
}

LONG CCardReader::EndTransaction()
{
    return SCardEndTransaction(m_hCard, SCARD_LEAVE_CARD);
}

LONG CCardReader::Transmit(const uint8_t* command, size_t commandLength, uint8_t* response, DWORD& responseLength)
{
    if (m_pObserver == nullptr)
        return SCardTransmit(m_hCard, SCARD_PCI_T0, command, static_cast<DWORD>(commandLength), nullptr, response,
                             &responseLength);
    const DWORD room = responseLength;
    m_pObserver->OnCommand(command, commandLength);
    const LONG result = SCardTransmit(m_hCard, SCARD_PCI_T0, command, static_cast<DWORD>(commandLength), nullptr,
                                      response, &responseLength);
    // Only what was received, and never more than the room given.
    const size_t received = result == sc::Success ? std::min<DWORD>(responseLength, room) : 0;
    m_pObserver->OnResponse(result, response, received);
    return result;
}
