// The simulator's side of the vpcd protocol: vpcd (inside pcscd) listens, the
// virtual card connects. Every message, both ways, is a 2-byte big-endian
// length followed by that many bytes. From vpcd, a 1-byte message is a
// control code (VpcdControl); a longer one is a command APDU, answered with
// the response APDU. GetAtr is answered with the ATR; the others get no answer.
#pragma once
#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

namespace simcard {

enum class VpcdControl : uint8_t { PowerOff = 0, PowerOn = 1, Reset = 2, GetAtr = 4 };

class VpcdLink {
public:
    VpcdLink() = default;
    ~VpcdLink();
    VpcdLink(const VpcdLink&) = delete;
    VpcdLink& operator=(const VpcdLink&) = delete;

    // Connects to vpcd on 127.0.0.1:port, retrying while nothing listens
    // yet, at most `attempts` tries 100 ms apart. Returns false with `error`
    // set when that fails or a signal interrupts the pauses (see Receive).
    bool Connect(uint16_t port, unsigned attempts, const sigset_t& waitMask, std::string& error);
    // Waits for the next message. Returns false when vpcd closed the link, on
    // a socket error, or when a signal interrupted the wait (`interrupted`).
    // Signals are taken only while waiting, with `waitMask` as the mask.
    bool Receive(std::vector<uint8_t>& message, const sigset_t& waitMask, bool& interrupted);
    bool Send(const std::vector<uint8_t>& message);
    // The card leaves the reader in the middle of an exchange: the link is
    // reset, so that the command in flight fails.
    void Abort();
    void Close();

private:
    bool ReceiveExactly(uint8_t* buffer, size_t length, const sigset_t& waitMask, bool& interrupted);

    int m_socket = -1;
};

} // namespace simcard
