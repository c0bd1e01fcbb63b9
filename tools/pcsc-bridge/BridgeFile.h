// The bridge file: how a client finds the host and proves it may use it.
//
// The host writes it into a directory only its user can enter (mode 0700,
// the file 0600) and prints its path; a client reads it and presents the
// token as the first frame of every connection. Two lines:
//
//   PORT            decimal, 1 to 65535: the host listens on 127.0.0.1:PORT
//   TOKEN           kTokenSize bytes as lower-case hex
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace bridge {

struct BridgeEndpoint {
    uint16_t port = 0;
    std::vector<uint8_t> token; // kTokenSize bytes
};

// The file's text; empty when the token is not kTokenSize bytes or the port is 0.
std::string FormatBridgeFile(const BridgeEndpoint& endpoint);

// nullopt unless `text` is exactly what FormatBridgeFile writes (CR LF line
// ends are taken too).
std::optional<BridgeEndpoint> ParseBridgeFile(const std::string& text);

} // namespace bridge
