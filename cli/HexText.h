// Bytes as the trace, JSON and the text views show them: upper-case hex.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Octets without spaces: "A0000000871002".
std::string HexText(const std::vector<uint8_t>& octets);

// A file identifier: "4F3A".
std::string FileIdText(uint16_t fileId);
