#include "PendingHandshakes.h"

#include <algorithm>

void PendingHandshakes::Add(ClientConnection& connection)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_connections.push_back(&connection);
    if (m_connections.size() > m_limit) {
        // Abandon only shuts the socket down; its thread removes it.
        m_connections.front()->Abandon();
        m_connections.pop_front();
    }
}

void PendingHandshakes::Remove(ClientConnection& connection)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = std::find(m_connections.begin(), m_connections.end(), &connection);
    if (it != m_connections.end())
        m_connections.erase(it);
}
