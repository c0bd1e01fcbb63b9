#include "PinStatusTemplate.h"

#include "BerTlv.h"

namespace {

constexpr uint32_t PsDoTag = 0x90;
constexpr uint32_t UsageQualifierTag = 0x95;
constexpr uint32_t KeyReferenceTag = 0x83;

std::optional<bool> EnabledBit(const Tlv* psDo, size_t index)
{
    if (!psDo || index / 8 >= psDo->length)
        return std::nullopt;
    return (psDo->value[index / 8] & (0x80u >> (index % 8))) != 0;
}

bool IsSingleByte(const Tlv& tlv)
{
    return tlv.length == 1 && !tlv.cut;
}

} // namespace

PinStatusTemplate DecodePinStatusTemplate(const uint8_t* value, size_t length)
{
    PinStatusTemplate pins;
    const TlvList list = ReadTlvs(value, length);
    const Tlv* psDo = FindTlv(list, PsDoTag);
    pins.malformed = list.malformed || !psDo;
    std::optional<uint8_t> qualifier;
    for (const Tlv& tlv : list.items) {
        if (tlv.tag == UsageQualifierTag) {
            if (IsSingleByte(tlv))
                qualifier = tlv.value[0];
            else
                pins.malformed = true;
        } else if (tlv.tag == KeyReferenceTag) {
            if (!IsSingleByte(tlv)) {
                pins.malformed = true;
                break; // the bits of the keys after it would be misplaced
            }
            pins.keys.push_back({tlv.value[0], EnabledBit(psDo, pins.keys.size()), qualifier});
            qualifier.reset();
        }
    }
    return pins;
}

const KeyStatus* FindKey(const PinStatusTemplate& pins, uint8_t keyReference)
{
    for (const KeyStatus& key : pins.keys)
        if (key.keyReference == keyReference)
            return &key;
    return nullptr;
}

std::optional<uint8_t> ApplicationPinKey(const PinStatusTemplate& pins)
{
    const KeyStatus* universal = FindKey(pins, key_reference::UniversalPin);
    if (universal && universal->usageQualifier == UseUniversalPin)
        return key_reference::UniversalPin;
    for (const KeyStatus& key : pins.keys)
        if (key.keyReference >= key_reference::FirstApplicationPin &&
            key.keyReference <= key_reference::LastApplicationPin)
            return key.keyReference;
    return std::nullopt;
}

std::optional<uint8_t> SecondPinKey(const PinStatusTemplate& pins)
{
    for (const KeyStatus& key : pins.keys)
        if (key.keyReference >= key_reference::FirstSecondPin &&
            key.keyReference < key_reference::FirstSecondPin + 8)
            return key.keyReference;
    return std::nullopt;
}
