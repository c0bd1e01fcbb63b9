#include "sim/sms/SmsJoin.h"

#include <map>
#include <tuple>
#include <utility>
#include <variant>

namespace {

using JoinKey = std::tuple<SmsType, std::string, uint16_t, bool, uint8_t, bool>;

JoinKey KeyOf(const StoredSms& sms)
{
    const ConcatenationPart& part = *sms.userData.concatenation;
    return {sms.type, sms.address.text, part.reference, part.sixteenBitReference, part.total, sms.deleted};
}

uint8_t SequenceOf(const SmsRecordEntry& entry)
{
    return entry.sms.userData.concatenation->sequence;
}

// Fills in the order and the missing part numbers of a group whose
// `bySequence` holds the entry index of each present part.
JoinedSms Assemble(const std::map<uint8_t, size_t>& bySequence, uint8_t total)
{
    JoinedSms joined;
    joined.concatenated = true;
    for (int sequence = 1; sequence <= total; ++sequence) {
        const auto found = bySequence.find(static_cast<uint8_t>(sequence));
        if (found == bySequence.end()) {
            joined.missing.push_back(sequence);
            continue;
        }
        joined.parts.push_back(found->second);
    }
    return joined;
}

// Moves `part` to the end of `whole`: a message's text or data is kept once.
template <class Sequence> void MoveOnto(Sequence& whole, Sequence& part)
{
    if (whole.empty()) {
        whole.swap(part);
        return;
    }
    whole.insert(whole.end(), part.begin(), part.end());
    Sequence().swap(part);
}

// The parts' texts, records, data and decoding stops, gathered in part order.
JoinedSms Gathered(std::vector<SmsRecordEntry>& entries, JoinedSms joined)
{
    for (size_t part : joined.parts) {
        SmsRecordEntry& entry = entries[part];
        MoveOnto(joined.text, entry.sms.userData.text);
        joined.records.push_back(entry.record);
        MoveOnto(joined.octets, entry.sms.userData.octets);
        if (!joined.stoppedAt)
            joined.stoppedAt = entry.sms.stoppedAt;
    }
    return joined;
}

} // namespace

std::vector<JoinedSms> JoinConcatenatedSms(std::vector<SmsRecordEntry>& entries)
{
    // Each output slot is a single message or a group, in first-record order.
    struct Group {
        std::map<uint8_t, size_t> bySequence;
        uint8_t total = 0;
    };
    std::vector<std::variant<size_t, Group>> slots;
    std::map<JoinKey, size_t> openGroup; // key to its slot
    for (size_t i = 0; i < entries.size(); ++i) {
        const StoredSms& sms = entries[i].sms;
        if (!sms.userData.concatenation) {
            slots.emplace_back(i);
            continue;
        }
        const JoinKey key = KeyOf(sms);
        const auto open = openGroup.find(key);
        if (open != openGroup.end()) {
            Group& group = std::get<Group>(slots[open->second]);
            if (group.bySequence.emplace(SequenceOf(entries[i]), i).second)
                continue;
        }
        openGroup[key] = slots.size();
        slots.emplace_back(Group{{{SequenceOf(entries[i]), i}}, sms.userData.concatenation->total});
    }

    std::vector<JoinedSms> messages;
    messages.reserve(slots.size());
    for (const auto& slot : slots) {
        JoinedSms joined;
        if (const size_t* single = std::get_if<size_t>(&slot))
            joined.parts = {*single};
        else
            joined = Assemble(std::get<Group>(slot).bySequence, std::get<Group>(slot).total);
        messages.push_back(Gathered(entries, std::move(joined)));
    }
    return messages;
}
