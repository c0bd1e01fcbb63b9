// Builds EF_SMS records with the SMS-DELIVER layout for the decoder tests.
#pragma once
#include "TestBytes.h"

struct SmsRecordBuilder {
    uint8_t status = 0x01;
    Bytes serviceCentre = Concat({Hex("07 91"), SwappedBcd("447785016005")});
    uint8_t firstOctet = 0x04;
    Bytes sender = Concat({Hex("0B 91"), SwappedBcd("44791234567")});
    uint8_t protocolId = 0x00;
    uint8_t dataCoding = 0x00;
    Bytes timestamp = Hex("08 10 20 20 30 55 00"); // 1980-01-02 02:03:55
    uint8_t userDataLength = 0;
    Bytes userData;
    size_t recordLength = 176; // filled with FF up to this length

    Bytes Build() const
    {
        Bytes record = Concat({Bytes{status}, serviceCentre, Bytes{firstOctet}, sender,
                               Bytes{protocolId, dataCoding}, timestamp, Bytes{userDataLength}, userData});
        if (record.size() < recordLength)
            record.resize(recordLength, 0xFF);
        return record;
    }
};
