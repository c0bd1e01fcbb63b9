// The words for what the card content model holds: the names the JSON
// document and the CSV give states, codings and message types, and the
// phrases the text view builds from them. The decoders return values; every
// renderer words them through here.
#pragma once
#include <string>
#include <vector>

#include "sim/content/RawCardFile.h"
#include "sim/dialling/ExtensionChain.h"
#include "sim/sms/DataCoding.h"
#include "sim/sms/SmsCommandType.h"
#include "sim/sms/SmsReportStatus.h"
#include "sim/sms/SmsTime.h"
#include "sim/sms/StoredSms.h"
#include "sim/sms/ValidityPeriod.h"
#include "sim/text/AlphaIdentifier.h"

// "not-read", "read", "absent", "refused", "incomplete", "unusable", "error".
const char* FileStateName(FileState state);

// Why the text view lists nothing of a file: "not read", "not on the card",
// "not readable (...)"; empty for a file read whole or in part.
std::string StateText(FileState state);

// "gsm7", "ucs2-80", "ucs2-81", "ucs2-82".
const char* AlphaCodingName(AlphaCoding coding);

// "none", "complete", "missing", "loop", "too-long", "invalid".
const char* ExtensionStateName(ExtensionState state);

// "read", "unread", "sent", "unsent", or "free" for a free record.
const char* SmsStatusName(SmsStatus status);

// "deliver", "submit", "status-report", "command" or "reserved".
const char* SmsTypeName(SmsType type);

// "gsm7", "8bit" or "ucs2".
const char* AlphabetName(SmsAlphabet alphabet);

// "voicemail", "fax", "email" or "other".
const char* WaitingKindName(WaitingKind kind);

// "enquiry about a submitted message", "cancel its status report request",
// "delete a submitted message", "enable its status report request",
// "specific to the service centre" or "reserved".
const char* CommandTypeName(SmsCommandKind kind);

// The range, then what the value says: "completed: received by the
// recipient", "trying: congestion", "failed: validity period expired",
// "stopped: recipient busy", "<range>: reserved", "<range>: specific to the
// service centre"; a value of the reserved range reads "reserved".
std::string ReportStatusName(const SmsReportStatus& status);

// ISO 8601 with the card's offset, for example 2002-08-26T19:37:41-01:00.
std::string IsoText(const SmsTime& time);

// The time stamp as ISO 8601 with the card's offset; empty for an SMS-SUBMIT
// or a command, and when the card's time stamp is not a valid one.
std::string TimestampText(const StoredSms& sms);

// The alphabet's name; empty when the message carries neither a data coding
// scheme nor user data (a command, most status reports).
std::string AlphabetText(const StoredSms& sms);

// The numbers in decimal, `separator` between them.
std::string Join(const std::vector<int>& numbers, const char* separator);

// "3 days", "1 hour 30 minutes", "45 seconds", "5 weeks".
std::string DurationText(const Duration& duration);

// "none", "relative", "enhanced" or "absolute".
const char* ValidityFormatName(ValidityFormat format);

// The period's value: a length ("24 hours"), hh:mm:ss, an ISO 8601 time,
// "none" or "reserved" (enhanced), "invalid"; ", single shot" after an
// enhanced one that is. Empty when the message has none.
std::string ValidityText(const ValidityPeriod& period);

// The field decoding stopped at, as in "decoding stopped at the time stamp".
const char* SmsFieldName(SmsField field);
