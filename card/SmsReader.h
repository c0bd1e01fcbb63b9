// Reading EF_SMS record by record.
#pragma once
#include "CardReader.h"
#include "sim/SmsRecords.h"

// Reads records 1..smsFile.recordCount of the selected EF_SMS (at most 255)
// and appends each listed message. Returns 0, the transport error, or
// SCARD_E_UNEXPECTED for a status word other than 90 00; messages appended
// before a failure stay.
LONG ReadSmsMessages(CCardReader& reader, SmsFile& smsFile);
