// The simulator's command handling: the first byte picks a profile of
// profiles/, the rest is a sequence of commands sent to a fresh card of that
// profile. Each command is a length byte and that many bytes (cut short by
// the end of the input); the length byte 0xFF resets the card instead.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <filesystem>
#include <vector>

#include "tools/simcard/ProfileLoader.h"
#include "tools/simcard/SimCard.h"

namespace {

constexpr uint8_t ResetMarker = 0xFF;

// Every profile of the tree, in name order so that a byte picks the same one
// on every run.
std::vector<simcard::CardProfile> LoadProfiles()
{
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(VELMORA_PROFILES_DIR)) {
        if (entry.path().extension() == ".json")
            paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    std::vector<simcard::CardProfile> profiles;
    for (const auto& path : paths)
        profiles.push_back(simcard::LoadProfile(path.string()));
    if (profiles.empty())
        __builtin_trap();
    return profiles;
}

const std::vector<simcard::CardProfile>& Profiles()
{
    static const std::vector<simcard::CardProfile> profiles = LoadProfiles();
    return profiles;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    simcard::SimCard card(Profiles()[data[0] % Profiles().size()]);
    size_t at = 1;
    while (at < size) {
        const uint8_t length = data[at++];
        if (length == ResetMarker) {
            card.Reset();
            continue;
        }
        const size_t available = std::min<size_t>(length, size - at);
        const std::vector<uint8_t> response = card.Transmit(data + at, available);
        at += available;
        // Always a status word, and never more data than one byte of Le
        // can ask for.
        if (response.size() < 2 || response.size() > 256 + 2)
            __builtin_trap();
    }
    if (card.Counts().writes > card.Counts().commands)
        __builtin_trap();
    return 0;
}
