// The proofs of the hand-shake that opens every connection (see
// BridgeProtocol.h). Each side proves that it holds the bridge file's token
// without sending it: the client sends a fresh random challenge, the host
// answers with a fresh challenge of its own and its proof, and only when
// that proof checks out does the client send its proof. A proof is
// HMAC-SHA256 under the token of a label naming the prover, then the
// client's and the host's challenge; the labels keep one side's proof from
// being replayed as the other's.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace bridge {

constexpr size_t kChallengeSize = 32;
constexpr size_t kProofSize = 32;

enum class Prover { Host, Client };

// The proof `prover` gives; empty when a challenge is not kChallengeSize bytes.
std::vector<uint8_t> HandshakeProof(Prover prover, const std::vector<uint8_t>& token,
                                    const std::vector<uint8_t>& clientChallenge,
                                    const std::vector<uint8_t>& hostChallenge);

// True when `proof` is the proof `prover` owes (compared in constant time).
bool ProofValid(Prover prover, const std::vector<uint8_t>& token, const std::vector<uint8_t>& clientChallenge,
                const std::vector<uint8_t>& hostChallenge, const std::vector<uint8_t>& proof);

} // namespace bridge
