// One EF_SMS record decoded whole: the status byte, the service-centre
// address, then the TPDU by its message type (3GPP TS 23.040).
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "sim/sms/DataCoding.h"
#include "sim/sms/SmsAddress.h"
#include "sim/sms/SmsTime.h"
#include "sim/sms/SmsUserData.h"
#include "sim/sms/ValidityPeriod.h"

// TP-MTI read with the record's direction: 10 is a status report on a
// received record and a command on a sent one.
enum class SmsType { Deliver, Submit, StatusReport, Command, Reserved };

struct StoredSms {
    uint8_t statusByte = 0;
    bool deleted = false; // the status marks the record free, yet it holds a message
    SmsType type = SmsType::Deliver;
    uint8_t firstOctet = 0;
    SmsAddress serviceCentre;
    SmsAddress address;                       // originating, destination or recipient
    std::optional<uint8_t> messageReference;  // SUBMIT, STATUS-REPORT, COMMAND
    // A time is valid, or invalid (read but not a date), or neither (cut off).
    bool timestampValid = false;
    bool timestampInvalid = false;
    SmsTime timestamp;                        // DELIVER and STATUS-REPORT: the centre's time stamp
    bool dischargeTimeValid = false;
    bool dischargeTimeInvalid = false;
    SmsTime dischargeTime;                    // STATUS-REPORT
    std::optional<uint8_t> reportStatus;      // STATUS-REPORT: TP-ST
    ValidityPeriod validity;                  // SUBMIT
    std::optional<uint8_t> commandType;       // COMMAND: TP-CT
    std::optional<uint8_t> messageNumber;     // COMMAND: TP-MN
    // Absent where the message does not carry them: a STATUS-REPORT holds
    // them as its TP-PI says, a COMMAND holds no coding and no user data.
    std::optional<uint8_t> protocolId;
    std::optional<uint8_t> dataCodingScheme;
    bool carriesUserData = false;             // DELIVER and SUBMIT always
    DataCoding coding;                        // the default alphabet when no scheme is carried
    SmsUserData userData;
    std::string error; // where decoding stopped; empty when the record was whole
};

// Decodes a record of `length` octets. Returns false when it holds no
// message: its octets after the status are blank (all FF or all 00, whatever
// the status says), or it is free and does not decode. Any other used record
// is returned; a field that reaches past the record ends the decoding there,
// with `error` saying which.
bool DecodeStoredSms(const uint8_t* record, size_t length, StoredSms& sms);

// "read", "unread", "sent", "unsent", or "free" for a free record.
const char* SmsStatusName(uint8_t statusByte);
