// TP-DCS, the data coding scheme, by the coding groups of GSM 03.38 / 3GPP
// TS 23.038.
#pragma once
#include <cstdint>

enum class SmsAlphabet { Gsm7, EightBit, Ucs2 };

enum class WaitingGroup { None, Discard, Store }; // groups 1100 (discard), 1101 and 1110 (store)

// What is waiting, by bits 1-0 of the scheme.
enum class WaitingKind { VoiceMail = 0, Fax = 1, Email = 2, Other = 3 };

struct DataCoding {
    SmsAlphabet alphabet = SmsAlphabet::Gsm7;
    bool compressed = false;
    bool autoDelete = false;   // group 01xx: marked for automatic deletion
    int messageClass = -1;     // 0 to 3, or -1 when the scheme gives none
    WaitingGroup waiting = WaitingGroup::None;
    bool waitingActive = false; // the indication is set (else cleared)
    WaitingKind waitingKind = WaitingKind::VoiceMail;
};

// Reserved values and groups (alphabet 11, groups 1000-1011) are read as the
// GSM default alphabet, as receivers are to assume.
DataCoding DecodeDataCoding(uint8_t scheme);
