#include "ModelDouble.h"

#include <map>
#include <memory>
#include <optional>

#include "FakePcsc.h"
#include "tools/simcard/ProfileLoader.h"

namespace model_double {
namespace {

constexpr long RemovedCard = static_cast<long>(0x80100069UL); // SCARD_W_REMOVED_CARD

struct Slot {
    std::unique_ptr<simcard::SimCard> card;
    std::optional<uint64_t> commandsLeft; // until the card is pulled out
};

std::map<std::string, Slot>& Slots()
{
    static std::map<std::string, Slot> slots;
    return slots;
}

long Answer(const std::string& reader, const fake_pcsc::Bytes& command, fake_pcsc::Bytes& response)
{
    auto it = Slots().find(reader);
    if (it == Slots().end() || !it->second.card)
        return RemovedCard;
    Slot& slot = it->second;
    if (slot.commandsLeft) {
        if (*slot.commandsLeft == 0) {
            slot.card.reset();
            fake_pcsc::SetCardPresent(reader, false);
            return RemovedCard;
        }
        --*slot.commandsLeft;
    }
    response = slot.card->Transmit(command);
    return 0;
}

void ResetCard(const std::string& reader)
{
    if (simcard::SimCard* card = CardIn(reader))
        card->Reset();
}

} // namespace

simcard::SimCard& InsertCard(const std::string& reader, const simcard::CardProfile& profile)
{
    Slot& slot = Slots()[reader];
    slot.card = std::make_unique<simcard::SimCard>(profile);
    slot.commandsLeft.reset();
    fake_pcsc::SetResponder(Answer);
    fake_pcsc::SetResetHandler(ResetCard);
    return *slot.card;
}

simcard::SimCard& InsertCard(const std::string& reader, const std::string& profilePath)
{
    return InsertCard(reader, simcard::LoadProfile(profilePath));
}

simcard::SimCard* CardIn(const std::string& reader)
{
    auto it = Slots().find(reader);
    return it == Slots().end() ? nullptr : it->second.card.get();
}

void RemoveCardAfter(const std::string& reader, uint64_t commands)
{
    auto it = Slots().find(reader);
    if (it != Slots().end())
        it->second.commandsLeft = commands;
}

void RemoveAll()
{
    Slots().clear();
}

std::string ProfilePath(const std::string& name)
{
    return std::string(VELMORA_PROFILES_DIR) + "/" + name + ".json";
}

} // namespace model_double
