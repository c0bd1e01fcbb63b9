#include "BridgeFile.h"

#include "BridgeProtocol.h"

namespace bridge {

namespace {

const char kHexDigits[] = "0123456789abcdef";

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The lines of `text`, each ended by LF (an optional CR before it is dropped).
std::optional<std::vector<std::string>> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            return std::nullopt; // the last line has no end
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::optional<uint16_t> ParsePort(const std::string& text)
{
    if (text.empty() || text.size() > 5)
        return std::nullopt;
    unsigned long port = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        port = port * 10 + static_cast<unsigned long>(c - '0');
    }
    if (port == 0 || port > 65535)
        return std::nullopt;
    return static_cast<uint16_t>(port);
}

std::optional<std::vector<uint8_t>> ParseToken(const std::string& text)
{
    if (text.size() != 2 * kTokenSize)
        return std::nullopt;
    std::vector<uint8_t> token;
    for (size_t i = 0; i < text.size(); i += 2) {
        int high = HexValue(text[i]);
        int low = HexValue(text[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        token.push_back(static_cast<uint8_t>(high << 4 | low));
    }
    return token;
}

} // namespace

std::string FormatBridgeFile(const BridgeEndpoint& endpoint)
{
    if (endpoint.port == 0 || endpoint.token.size() != kTokenSize)
        return {};
    std::string text = std::to_string(endpoint.port) + "\n";
    for (uint8_t byte : endpoint.token) {
        text += kHexDigits[byte >> 4];
        text += kHexDigits[byte & 0x0F];
    }
    return text + "\n";
}

std::optional<BridgeEndpoint> ParseBridgeFile(const std::string& text)
{
    auto lines = Lines(text);
    if (!lines || lines->size() != 2)
        return std::nullopt;
    auto port = ParsePort((*lines)[0]);
    auto token = ParseToken((*lines)[1]);
    if (!port || !token)
        return std::nullopt;
    return BridgeEndpoint{*port, std::move(*token)};
}

} // namespace bridge
