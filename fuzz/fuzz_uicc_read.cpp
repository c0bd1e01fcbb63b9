// The whole UICC read of --full (detection, EF_DIR, the USIM's PINs and
// files, both phone books through EF_PBR) with the fuzzer's bytes as the
// card's answers. The first byte chooses whether the card answered class A0
// before and whether a PIN may be presented; the read must end, present no
// PIN beyond the rule, and decode only valid text.
#include <cstddef>
#include <cstdint>

#include "FakePcsc.h"
#include "FuzzCard.h"
#include "FuzzUtf8.h"
#include "card/UiccReader.h"
#include "sim/Instructions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t choice = data[0];
    FuzzCard card(data + 1, size - 1);
    UiccPinSource pins;
    if (choice & 0x02)
        pins.accepted = std::vector<uint8_t>{'1', '2', '3', '4', 0xFF, 0xFF, 0xFF, 0xFF};
    unsigned asked = 0;
    if (choice & 0x04) {
        pins.ask = [&asked](int triesLeft, std::u16string& pin) {
            if (triesLeft <= 1)
                __builtin_trap(); // never asked when one try is left
            ++asked;
            pin = u"0000";
            return true;
        };
        pins.retry = [] { return true; };
    }
    CardContent content;
    ReadUicc(card.Reader(), (choice & 0x01) != 0, pins, content);
    unsigned presented = 0;
    for (const fake_pcsc::Call& call : fake_pcsc::Calls()) {
        if (call.function != "SCardTransmit" || call.command.size() < 4)
            continue;
        if (call.command[1] == 0x12 || call.command[1] == 0xD6 || call.command[1] == 0xDC)
            __builtin_trap(); // FETCH or a write
        presented += call.command[1] == InsVerify && call.command.size() > 5;
    }
    if (presented > asked + (pins.accepted ? 1u : 0u))
        __builtin_trap();
    if (!content.uicc)
        return 0;
    const UiccContent& u = *content.uicc;
    for (const UiccApplication& application : u.applications)
        if (!IsValidUtf8(application.label) || application.aid.size() > 16)
            __builtin_trap();
    for (const UsimPhoneBookContent* book : {&u.globalPhoneBook, &u.localPhoneBook}) {
        for (const UsimPhoneBookEntry& entry : book->book.entries) {
            if (!IsValidUtf8(entry.name) || !IsValidUtf8(entry.secondName) || !IsDiallingNumber(entry.number))
                __builtin_trap();
            for (const AdditionalNumber& number : entry.additionalNumbers)
                if (!IsValidUtf8(number.label) || !IsDiallingNumber(number.number))
                    __builtin_trap();
            for (const std::string& text : entry.emails)
                if (!IsValidUtf8(text))
                    __builtin_trap();
        }
    }
    for (const PhoneBook* book : {&u.msisdn, &u.fdn, &u.sdn})
        for (const PhoneBookRecord& record : book->records)
            if (!IsValidUtf8(record.name) || !IsDiallingNumber(record.number) || record.record > 255)
                __builtin_trap();
    return 0;
}
