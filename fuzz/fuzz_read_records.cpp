// The EF_ADN/EF_FDN and EF_SMS record loops with the fuzzer's bytes as the
// card's answers: the first four bytes give the geometry (record count,
// record length) and which file is read.
#include <cstddef>
#include <cstdint>

#include "FakePcsc.h"
#include "FuzzCard.h"
#include "card/SmsReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    FuzzCard card(data + 4, size - 4);
    CCardReader& reader = card.Reader();

    const uint16_t recordCount = static_cast<uint16_t>((data[0] & 0x7F) << 8 | data[1]);
    const uint8_t recordLength = data[2];
    if (data[3] & 1) {
        SmsFile file;
        file.recordCount = recordCount;
        file.recordLength = recordLength;
        ReadSmsMessages(reader, file);
        for (const SmsMessage& message : file.messages) {
            if (message.rawRecord.size() > 255)
                __builtin_trap();
        }
    } else {
        DiallingNumberFile file;
        file.RecordCount = recordCount;
        file.RecordLength = recordLength;
        file.AlphaLength = recordLength > 14 ? static_cast<uint8_t>(recordLength - 14) : 0;
        reader.ReadDiallingNumbers(file);
    }
    // Record numbers are one byte: nothing beyond record 255 is asked for.
    if (fake_pcsc::SentCommands().size() > 255)
        __builtin_trap();
    return 0;
}
