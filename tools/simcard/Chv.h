// One card holder verification code (CHV1 or CHV2) and its attempts counter.
#pragma once
#include <array>
#include <cstdint>

#include "CardProfile.h"

namespace simcard {

class Chv {
public:
    explicit Chv(const ChvProfile& profile);

    // VERIFY CHV with the 8 bytes the terminal sent; returns the status word.
    uint16_t Verify(const uint8_t* code);
    // A reset or power cycle forgets a verification; the counter stays.
    void ForgetVerification() { m_verified = false; }

    bool Present() const { return m_present; }
    // Its status bytes appear in directory answers, also when not present.
    bool Listed() const { return m_present || m_listedWhenAbsent; }
    bool Enabled() const { return m_present && m_enabled; }
    bool Blocked() const { return m_attemptsLeft == 0; }
    uint8_t AttemptsLeft() const { return m_attemptsLeft; }
    // The access condition of this code is met: verified, or CHV1 disabled.
    bool Satisfied() const { return m_present && (!m_enabled || (m_verified && !Blocked())); }
    // Status byte of a directory response: initialised bit and attempts left;
    // 00 (not initialised) when not present.
    uint8_t StatusByte() const;

private:
    bool m_present;
    bool m_enabled;
    bool m_listedWhenAbsent;
    std::array<uint8_t, 8> m_code{};
    uint8_t m_attemptsLeft;
    uint8_t m_maxAttempts;
    bool m_verified = false;
};

} // namespace simcard
