// One EF_SMS record decoded whole: the status byte, the service-centre
// address, then the TPDU by its message type (3GPP TS 23.040).
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "sim/sms/DataCoding.h"
#include "sim/sms/SmsAddress.h"
#include "sim/sms/SmsCommandType.h"
#include "sim/sms/SmsReportStatus.h"
#include "sim/sms/SmsTime.h"
#include "sim/sms/SmsUserData.h"
#include "sim/sms/ValidityPeriod.h"

// TP-MTI read with the record's direction: 10 is a status report on a
// received record and a command on a sent one.
enum class SmsType { Deliver, Submit, StatusReport, Command, Reserved };

// The record's status byte: free, or a received message read or not, or a
// message to send, sent or not.
enum class SmsStatus { Free, Read, Unread, Sent, Unsent };

// The fields of a record in the order they are read, for telling where its
// decoding stopped.
enum class SmsField {
    ServiceCentreAddress,
    FirstOctet,
    MessageType,
    MessageReference,
    OriginatingAddress,
    DestinationAddress,
    RecipientAddress,
    ProtocolIdentifier,
    DataCodingScheme,
    TimeStamp,
    DischargeTime,
    ValidityPeriod,
    Status,
    ParameterIndicator,
    CommandType,
    MessageNumber,
    UserDataLength,
    UserDataHeader,
    UserData,
};

struct StoredSms {
    uint8_t statusByte = 0;
    SmsStatus status = SmsStatus::Free;
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
    std::optional<SmsReportStatus> reportStatus; // STATUS-REPORT: TP-ST
    ValidityPeriod validity;                  // SUBMIT
    std::optional<SmsCommandType> commandType; // COMMAND: TP-CT
    std::optional<uint8_t> messageNumber;     // COMMAND: TP-MN
    // Absent where the message does not carry them: a STATUS-REPORT holds
    // them as its TP-PI says, a COMMAND holds no coding and no user data.
    std::optional<uint8_t> protocolId;
    std::optional<uint8_t> dataCodingScheme;
    bool carriesUserData = false;             // DELIVER and SUBMIT always
    DataCoding coding;                        // the default alphabet when no scheme is carried
    SmsUserData userData;
    std::optional<SmsField> stoppedAt; // where decoding stopped; empty when the record was whole
};

// Decodes a record of `length` octets. Returns false when it holds no
// message: its octets after the status are blank (all FF or all 00, whatever
// the status says), or it is free and does not decode. Any other used record
// is returned; a field that reaches past the record ends the decoding there,
// with `stoppedAt` saying which.
bool DecodeStoredSms(const uint8_t* record, size_t length, StoredSms& sms);
