// PC/SC result codes that the card layer and the decoders produce themselves.
// `long` is LONG on both WinSCard and pcsc-lite, so these compare equal to
// the platform's SCARD_* constants (negative on 32-bit Windows, positive
// 64-bit values on Linux).
#pragma once

namespace sc {

constexpr long Success = 0;
constexpr long ProtoMismatch = static_cast<long>(0x8010000FUL);   // SCARD_E_PROTO_MISMATCH
constexpr long Unexpected = static_cast<long>(0x8010001FUL);      // SCARD_E_UNEXPECTED
constexpr long FileNotFound = static_cast<long>(0x80100024UL);    // SCARD_E_FILE_NOT_FOUND
constexpr long WrongChv = static_cast<long>(0x8010006BUL);        // SCARD_W_WRONG_CHV
constexpr long ChvBlocked = static_cast<long>(0x8010006CUL);      // SCARD_W_CHV_BLOCKED
constexpr long CancelledByUser = static_cast<long>(0x8010006EUL); // SCARD_W_CANCELLED_BY_USER

// The 32-bit value of a result, as it is printed ("0x%.8X").
constexpr unsigned long ToUnsigned32(long result)
{
    return static_cast<unsigned long>(result) & 0xFFFFFFFFUL;
}

} // namespace sc
