// A minimal card for the vpcd reader driver: connects to the driver's port,
// answers power and ATR requests, and answers every command APDU with a
// response made from the command (see Respond()). Enough to see commands
// cross the bridge unchanged; the SIM itself is the simulator's business.
#pragma once
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

class VirtualCard {
public:
    explicit VirtualCard(uint16_t vpcdPort);
    ~VirtualCard(); // removes the card
    VirtualCard(const VirtualCard&) = delete;
    VirtualCard& operator=(const VirtualCard&) = delete;

    bool Inserted() const { return m_socket >= 0; }

    static const std::vector<uint8_t> kAtr;
    // A 5-byte command: Le bytes counting up from P1, then 90 00. INS FF:
    // 6D 00. Anything else: 90 00.
    static std::vector<uint8_t> Respond(const std::vector<uint8_t>& command);

private:
    void Serve();
    bool Receive(uint8_t* data, size_t size);
    bool Send(const std::vector<uint8_t>& message);

    int m_socket = -1;
    std::thread m_thread;
};
