// Serves one client on its connected socket: first the hand-shake, then
// frames until the client goes, and at the end the client's PC/SC state.
//
// The hand-shake (see Handshake.h): the client's Hello and, after the host
// answered it with its challenge and proof, the client's proof, both complete
// within the frame time-out from the connection's start; anything else
// (another call, a wrong proof, silence) closes the connection without
// another word, before any call is served.
//
// A request that cannot be decoded is answered with an error reply and the
// connection stays usable. A frame header announcing an impossible length
// is answered with an error reply and the connection is closed, since the
// stream can no longer be followed. So is a frame that does not arrive whole
// within the frame time-out after its first byte (a truncated message from a
// client that stays connected). A reply that the client does not take
// within the send time-out closes the connection too (a client that stopped
// reading must not keep its card and transaction).
#pragma once
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

class ClientConnection {
public:
    struct Settings {
        std::vector<uint8_t> token;
        std::chrono::milliseconds frameTimeout{5000};
        std::chrono::milliseconds sendTimeout{10000};
    };

    // Takes ownership of the socket.
    ClientConnection(int socket, const Settings& settings);
    ~ClientConnection();
    ClientConnection(const ClientConnection&) = delete;
    ClientConnection& operator=(const ClientConnection&) = delete;

    // The hand-shake; false when the connection must be closed.
    bool Authenticate();
    // Ends a hand-shake in progress from another thread: Authenticate fails.
    void Abandon();
    // Serves calls until the client goes (after Authenticate succeeded).
    void Serve();

    // The reply to one request body (used by Serve and by the fuzz target).
    static std::vector<uint8_t> ReplyToBody(class ClientCalls& calls, const uint8_t* body, size_t size);

private:
    enum class ReadResult { Ok, Closed, TimedOut };
    using TimePoint = std::chrono::steady_clock::time_point;
    // Reads `size` bytes; with a deadline, gives up when it passes.
    ReadResult ReadExactly(uint8_t* data, size_t size, std::optional<TimePoint> deadline);
    // Waits for `events` on the socket until the deadline: false when it passed.
    bool WaitFor(short events, TimePoint deadline);
    bool WriteAll(const std::vector<uint8_t>& data);
    std::optional<std::vector<uint8_t>> ReadHandshakeFrame(TimePoint deadline);
    bool PeerGone() const;

    int m_socket;
    const Settings& m_settings;
};
