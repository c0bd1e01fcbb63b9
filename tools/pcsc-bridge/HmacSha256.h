// SHA-256 (FIPS 180-4) and HMAC-SHA256 (RFC 2104), small and dependency
// free, so that the replacement winscard.dll and the host compute the
// hand-shake's proofs with the same code. Not meant for bulk data.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace bridge {

constexpr size_t kSha256Size = 32;
using Sha256Digest = std::array<uint8_t, kSha256Size>;

Sha256Digest Sha256(const std::vector<uint8_t>& message);
Sha256Digest HmacSha256(const std::vector<uint8_t>& key, const std::vector<uint8_t>& message);

// Compares two secrets in time that depends on their length only.
bool SecretsEqual(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);

} // namespace bridge
