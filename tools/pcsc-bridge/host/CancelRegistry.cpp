#include "CancelRegistry.h"

#include "RandomBytes.h"
#include "tools/pcsc-bridge/HmacSha256.h"

using namespace bridge;

CancelRegistry& CancelRegistry::Instance()
{
    static CancelRegistry registry;
    return registry;
}

bool CancelRegistry::Add(uint32_t wire, SCARDCONTEXT context, std::vector<uint8_t> key)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_entries.emplace(wire, Entry{context, std::move(key)}).second;
}

void CancelRegistry::Remove(uint32_t wire)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_entries.erase(wire);
}

void CancelRegistry::BeginWait(uint32_t wire)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_entries.find(wire);
    if (it != m_entries.end()) {
        it->second.waiting = true;
        it->second.cancelled = false;
    }
}

void CancelRegistry::EndWait(uint32_t wire)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_entries.find(wire);
    if (it != m_entries.end())
        it->second.waiting = it->second.cancelled = false;
}

bool CancelRegistry::Cancelled(uint32_t wire)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_entries.find(wire);
    return it != m_entries.end() && it->second.cancelled;
}

CancelReply CancelRegistry::Cancel(const CancelRequest& request)
{
    CancelReply reply;
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_entries.find(request.context);
    if (it == m_entries.end() || request.key.size() != kCancelKeySize || !SecretsEqual(it->second.key, request.key)) {
        reply.result = kResultInvalidHandle;
        return reply;
    }
    if (it->second.waiting) {
        it->second.cancelled = true;
        // Ends the slice in progress; the mutex keeps the context from being
        // released meanwhile.
        SCardCancel(it->second.context);
        reply.waitEnded = 1;
    }
    return reply;
}
