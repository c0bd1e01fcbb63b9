// Serves one client on its connected socket until it goes: reads frames,
// answers each one, and ends the client's PC/SC state at the end.
//
// A request that cannot be decoded is answered with an error reply and the
// connection stays usable. A frame header announcing an impossible length
// is answered with an error reply and the connection is closed, since the
// stream can no longer be followed. So is a frame that does not arrive whole
// within the frame time-out after its first byte (a truncated message from a
// client that stays connected).
#pragma once
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

class ClientConnection {
public:
    static constexpr std::chrono::milliseconds kDefaultFrameTimeout{5000};

    // Takes ownership of the socket.
    explicit ClientConnection(int socket, std::chrono::milliseconds frameTimeout = kDefaultFrameTimeout);
    ~ClientConnection();
    ClientConnection(const ClientConnection&) = delete;
    ClientConnection& operator=(const ClientConnection&) = delete;

    void Serve();

    // The reply to one request body (used by Serve and by the fuzz target).
    static std::vector<uint8_t> ReplyToBody(class ClientCalls& calls, const uint8_t* body, size_t size);

private:
    enum class ReadResult { Ok, Closed, TimedOut };
    // Reads `size` bytes; with a deadline, gives up when it passes.
    ReadResult ReadExactly(uint8_t* data, size_t size,
                           std::optional<std::chrono::steady_clock::time_point> deadline);
    bool WriteAll(const std::vector<uint8_t>& data);
    bool PeerGone() const;

    int m_socket;
    std::chrono::milliseconds m_frameTimeout;
};
