#include "RemovalCheck.h"

#include <chrono>

namespace {

constexpr LONG RemovedCard = static_cast<LONG>(0x80100069UL); // SCARD_W_REMOVED_CARD
constexpr LONG Timeout = static_cast<LONG>(0x8010000AUL);     // SCARD_E_TIMEOUT
// Room for any ATR: pcsc-lite's MAX_ATR_SIZE (33 bytes on Windows).
constexpr DWORD AtrRoom = 36;

// pcsc-lite gives the card's state as bits, WinSCard as one value of an
// enumeration (SCARD_ABSENT 1 ... SCARD_SPECIFIC 6, in which 5 has bit 0 set).
bool IsAbsent(DWORD state)
{
#ifdef _WIN32
    return state == SCARD_ABSENT;
#else
    return (state & SCARD_ABSENT) != 0;
#endif
}

LONG StatusOfConnection(SCARDHANDLE card)
{
    DWORD nameLength = 0;
    DWORD state = 0;
    DWORD protocol = 0;
    BYTE atr[AtrRoom];
    DWORD atrLength = sizeof atr;
    const LONG result = SCardStatus(card, nullptr, &nameLength, &state, &protocol, atr, &atrLength);
    if (result != SCARD_S_SUCCESS)
        return result;
    return IsAbsent(state) ? RemovedCard : SCARD_S_SUCCESS;
}

// Waits up to `settleMs` for the reader to report its card gone.
LONG WaitForRemoval(CCardReader& reader, DWORD settleMs)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(settleMs);
    pcsc::ReaderState state{};
    state.szReader = reader.GetName().c_str();
    state.dwCurrentState = SCARD_STATE_UNAWARE;
    DWORD timeout = 0; // the first call asks for the current state
    for (;;) {
        const LONG result = pcsc::GetStatusChange(reader.GetContext(), timeout, &state, 1);
        if (result == Timeout)
            return SCARD_S_SUCCESS;
        if (result != SCARD_S_SUCCESS)
            return result;
        if ((state.dwEventState & SCARD_STATE_PRESENT) == 0)
            return RemovedCard;
        state.dwCurrentState = state.dwEventState & ~static_cast<DWORD>(SCARD_STATE_CHANGED);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return SCARD_S_SUCCESS;
        timeout = static_cast<DWORD>(left);
    }
}

} // namespace

LONG CardGoneAfterRead(CCardReader& reader, bool lastAnswerEmpty, DWORD settleMs)
{
    if (reader.GetCardHandle() != 0) {
        const LONG status = StatusOfConnection(reader.GetCardHandle());
        if (status != SCARD_S_SUCCESS)
            return status;
    }
    return lastAnswerEmpty ? WaitForRemoval(reader, settleMs) : SCARD_S_SUCCESS;
}
