#include "Chv.h"

#include <algorithm>

#include "StatusWords.h"

namespace simcard {

Chv::Chv(const ChvProfile& profile)
    : m_present(profile.present),
      m_enabled(profile.enabled),
      m_listedWhenAbsent(profile.listedWhenAbsent),
      m_attemptsLeft(std::min<uint8_t>(profile.attemptsLeft, 0x0F)),
      m_maxAttempts(std::min<uint8_t>(std::max<uint8_t>(profile.maxAttempts, 1), 0x0F))
{
    m_code.fill(0xFF);
    const size_t digits = std::min(profile.value.size(), m_code.size());
    std::copy_n(profile.value.begin(), digits, m_code.begin());
}

uint16_t Chv::Verify(const uint8_t* code)
{
    if (!m_present)
        return sw::NoChvInitialised;
    if (!m_enabled)
        return sw::ChvStateContradiction;
    if (Blocked())
        return sw::ChvBlocked;
    if (std::equal(m_code.begin(), m_code.end(), code)) {
        m_attemptsLeft = m_maxAttempts;
        m_verified = true;
        return sw::Ok;
    }
    m_verified = false;
    --m_attemptsLeft;
    return Blocked() ? sw::ChvBlocked : sw::AccessDenied;
}

uint8_t Chv::StatusByte() const
{
    return m_present ? static_cast<uint8_t>(0x80 | m_attemptsLeft) : 0x00;
}

} // namespace simcard
