#include "Handshake.h"

#include <string_view>

#include "HmacSha256.h"

namespace bridge {

std::vector<uint8_t> HandshakeProof(Prover prover, const std::vector<uint8_t>& token,
                                    const std::vector<uint8_t>& clientChallenge,
                                    const std::vector<uint8_t>& hostChallenge)
{
    if (clientChallenge.size() != kChallengeSize || hostChallenge.size() != kChallengeSize)
        return {};
    const std::string_view label = prover == Prover::Host ? "pcsc-bridge host proof" : "pcsc-bridge client proof";
    std::vector<uint8_t> message(label.begin(), label.end());
    message.push_back(0);
    message.insert(message.end(), clientChallenge.begin(), clientChallenge.end());
    message.insert(message.end(), hostChallenge.begin(), hostChallenge.end());
    const Sha256Digest digest = HmacSha256(token, message);
    return std::vector<uint8_t>(digest.begin(), digest.end());
}

bool ProofValid(Prover prover, const std::vector<uint8_t>& token, const std::vector<uint8_t>& clientChallenge,
                const std::vector<uint8_t>& hostChallenge, const std::vector<uint8_t>& proof)
{
    const std::vector<uint8_t> expected = HandshakeProof(prover, token, clientChallenge, hostChallenge);
    return !expected.empty() && SecretsEqual(expected, proof);
}

} // namespace bridge
