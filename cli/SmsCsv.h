// sms.csv of --full --export: one row per message, RFC 4180, UTF-8.
#pragma once
#include <string>

#include "sim/sms/SmsMessages.h"

// "record,status,deleted,type,serviceCentre,address,timestamp,alphabet,
// messageClass,parts,missing,text", then a row per message in record order.
// parts and missing are record and part numbers separated by spaces.
std::string SmsCsv(const SmsMessages& messages);
