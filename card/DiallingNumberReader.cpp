// CCardReader::ReadDiallingNumbers: every record of EF_ADN or EF_FDN.
#include "CardReader.h"
#include "RecordLoop.h"

LONG CCardReader::ReadDiallingNumbers(DiallingNumberFile& file)
{
    const uint8_t alphaLength = file.AlphaLength;
    auto& entries = file.Entries;
    return card_detail::ReadRecords(*this, file.RecordCount, file.RecordLength,
                                    [&](const uint8_t* data, size_t length) {
                                        PhoneBookEntry entry;
                                        // The first record of a name wins: emplace keeps it.
                                        if (DecodeDiallingRecord(data, length, alphaLength, entry))
                                            entries.emplace(std::move(entry.first), std::move(entry.second));
                                    });
}
