// One EF_SMS record decoded whole: the status byte, the service-centre
// address, then the TPDU by its message type (3GPP TS 23.040).
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "DataCoding.h"
#include "SmsAddress.h"
#include "SmsTime.h"
#include "SmsUserData.h"
#include "ValidityPeriod.h"

// TP-MTI read with the record's direction: 10 is a status report on a
// received record and a command on a sent one.
enum class SmsType { Deliver, Submit, StatusReport, Command, Reserved };

struct FullSms {
    uint8_t statusByte = 0;
    bool deleted = false; // the status marks the record free, yet it holds a message
    SmsType type = SmsType::Deliver;
    uint8_t firstOctet = 0;
    SmsAddress serviceCentre;
    SmsAddress address;                       // originating, destination or recipient
    std::optional<uint8_t> messageReference;  // SUBMIT, STATUS-REPORT, COMMAND
    bool timestampValid = false;
    SmsTime timestamp;                        // DELIVER and STATUS-REPORT: the centre's time stamp
    bool dischargeTimeValid = false;
    SmsTime dischargeTime;                    // STATUS-REPORT
    std::optional<uint8_t> reportStatus;      // STATUS-REPORT: TP-ST
    ValidityPeriod validity;                  // SUBMIT
    uint8_t protocolId = 0;
    uint8_t dataCodingScheme = 0;
    DataCoding coding;
    SmsUserData userData;
    std::string error; // where decoding stopped; empty when the record was whole
};

// Decodes a record of `length` octets. Returns false when it holds no
// message: its octets after the status are blank (all FF or all 00, whatever
// the status says), or it is free and does not decode. Any other used record
// is returned; a field that reaches past the record ends the decoding there,
// with `error` saying which.
bool DecodeFullSms(const uint8_t* record, size_t length, FullSms& sms);

// "read", "unread", "sent", "unsent", or "free" for a free record.
const char* SmsStatusName(uint8_t statusByte);

// "deliver", "submit", "status-report", "command" or "reserved".
const char* SmsTypeName(SmsType type);
