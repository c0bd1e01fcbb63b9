// Reads a SIM the way the main dialog's Connect does, through card/ and the
// decoders, and keeps every result: for tests that check a whole read (in
// process against the card model, or through the real pcscd and simcard).
#pragma once
#include <string>
#include <vector>

#include "card/CardReader.h"
#include "sim/DiallingNumbers.h"
#include "sim/PinStatus.h"
#include "sim/SmsRecords.h"

struct SimReadout {
    long connectResult = 0;
    bool isGsm = false;       // the identity stage passed
    std::string iccid;
    std::string imsi;         // field text: digits, "Failed to read IMSI file" or empty
    std::string pin1Text;
    std::string pin2Text;
    bool pinVerified = false;
    DiallingNumberFile fdn;
    DiallingNumberFile adn;
    SmsFile sms;
    long fdnResult = 0;       // results of the record loops
    long adnResult = 0;
    long smsResult = 0;
    std::vector<long> errors; // every non-zero result of a card call, in order
};

// Connects (T=0, with reset), reads everything inside one transaction and
// ends it; the card stays connected. `pin` is presented once whenever a file
// needs PIN1 and none was verified yet (empty: the user declines).
SimReadout ReadSim(CCardReader& reader, const std::u16string& pin);

// A result produced by the transport rather than mapped from a status word.
bool IsTransportError(long result);
