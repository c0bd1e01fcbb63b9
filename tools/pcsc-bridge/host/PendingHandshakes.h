// The connections still in their hand-shake, at most a fixed number of them.
// One more ends the oldest's hand-shake at once, so that connections that
// never finish it hold at most that many threads, and cannot keep the
// token's holder out: its hand-shake takes a round trip, theirs take until
// they are pushed out or their time-out ends them.
#pragma once
#include <cstddef>
#include <deque>
#include <mutex>

#include "ClientConnection.h"

class PendingHandshakes {
public:
    explicit PendingHandshakes(size_t limit) : m_limit(limit) {}

    // Registers a connection about to start its hand-shake; abandons the
    // oldest registered one when there are more than the limit.
    void Add(ClientConnection& connection);
    // Unregisters it (before it goes), whether its hand-shake ended or not.
    void Remove(ClientConnection& connection);

    // Add and Remove around a hand-shake.
    class Entry {
    public:
        Entry(PendingHandshakes& pending, ClientConnection& connection) : m_pending(pending), m_connection(connection)
        {
            m_pending.Add(m_connection);
        }
        ~Entry() { m_pending.Remove(m_connection); }
        Entry(const Entry&) = delete;
        Entry& operator=(const Entry&) = delete;

    private:
        PendingHandshakes& m_pending;
        ClientConnection& m_connection;
    };

private:
    const size_t m_limit;
    std::mutex m_mutex;
    std::deque<ClientConnection*> m_connections; // oldest first
};
