#include "ApplicationDirectory.h"

#include <algorithm>
#include <array>

#include "BerTlv.h"
#include "sim/text/AlphaIdentifier.h"

namespace {

constexpr uint32_t ApplicationTemplateTag = 0x61;
constexpr uint32_t AidTag = 0x4F;
constexpr uint32_t LabelTag = 0x50;
constexpr size_t MaxAidLength = 16;
constexpr std::array<uint8_t, 7> UsimAidPrefix{0xA0, 0x00, 0x00, 0x00, 0x87, 0x10, 0x02};

} // namespace

ApplicationRecord DecodeApplicationRecord(const uint8_t* record, size_t length)
{
    ApplicationRecord application;
    const TlvList outer = ReadTlvs(record, length);
    if (outer.items.empty() && !outer.malformed)
        return application;
    application.state = DirRecordState::Malformed;
    const Tlv* entry = FindTlv(outer, ApplicationTemplateTag);
    if (!entry)
        return application;
    const TlvList inner = ReadTlvs(entry->value, entry->length);
    const Tlv* aid = FindTlv(inner, AidTag);
    if (!aid || aid->length == 0 || aid->length > MaxAidLength)
        return application;
    application.state = DirRecordState::Application;
    application.aid.assign(aid->value, aid->value + aid->length);
    if (const Tlv* label = FindTlv(inner, LabelTag))
        application.label = DecodeAlphaIdentifier(label->value, label->length).text;
    return application;
}

bool IsUsimAid(const std::vector<uint8_t>& aid)
{
    return aid.size() >= UsimAidPrefix.size() && std::equal(UsimAidPrefix.begin(), UsimAidPrefix.end(), aid.begin());
}
