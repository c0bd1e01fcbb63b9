// The contexts of every client of the host, so that a wait can be cancelled
// from another connection: the client waiting in SCardGetStatusChange is
// busy, and PC/SC lets another thread of the same program cancel it.
//
// Only who holds a context's cancel key (handed to the client that
// established it, and to no one else) can cancel its wait. A cancel that
// arrives while the context waits ends the wait with SCARD_E_CANCELLED,
// also between the slices of a long wait; one that arrives while it does not
// wait has no effect (the client tries again).
#pragma once
#include <PCSC/winscard.h>
#include <PCSC/wintypes.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

#include "tools/pcsc-bridge/BridgeProtocol.h"

class CancelRegistry {
public:
    static CancelRegistry& Instance();

    // False when another client holds a context of the same wire value.
    bool Add(uint32_t wire, SCARDCONTEXT context, std::vector<uint8_t> key);
    // Before the context is released.
    void Remove(uint32_t wire);

    // Around a status-change wait of the owner.
    void BeginWait(uint32_t wire);
    void EndWait(uint32_t wire);
    // True when a cancel came since BeginWait.
    bool Cancelled(uint32_t wire);

    // Cancels the wait of `wire` for the holder of `key`.
    bridge::CancelReply Cancel(const bridge::CancelRequest& request);

private:
    struct Entry {
        SCARDCONTEXT context;
        std::vector<uint8_t> key;
        bool waiting = false;
        bool cancelled = false;
    };
    std::mutex m_mutex;
    std::map<uint32_t, Entry> m_entries;
};
