// The whole --full read (SELECT paths, record and binary reads, extension
// files, decoding) with the fuzzer's bytes as the card's answers: once with
// nothing received before, then taking what the first pass received.
#include <cstddef>
#include <cstdint>

#include "FakePcsc.h"
#include "FuzzCard.h"
#include "FuzzUtf8.h"
#include "card/CardContentReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzCard card(data, size);
    ReceivedFiles received;
    card.Reader().SetObserver(&received);
    CardContent content;
    ReceivedFiles none;
    ReadCardContent(card.Reader(), none, content);
    content = CardContent();
    ReadCardContent(card.Reader(), received, content);
    for (const PhoneBook* book : {&content.adn, &content.fdn, &content.msisdn, &content.sdn, &content.lnd}) {
        if (book->records.size() > 255)
            __builtin_trap();
        for (const PhoneBookRecord& record : book->records) {
            if (!IsValidUtf8(record.name) || !IsDiallingNumber(record.number) || record.record > 255)
                __builtin_trap();
        }
    }
    if (content.spn && !IsValidUtf8(content.spn->name.text))
        __builtin_trap();
    return 0;
}
