// Everything velmora-cli --full reads beyond the dialog, decoded. Filled by
// ReadCardContent (card/CardContentReader.h); printed, exported and written as JSON
// by the terminal front end, one section at a time.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/content/PhoneBook.h"
#include "sim/content/RawCardFile.h"
#include "sim/content/UiccContent.h"
#include "sim/provider/ServiceProviderName.h"
#include "sim/sms/SmsMessages.h"

struct CardContent {
    // What answered: GSM only, or a UICC (with or without a GSM view).
    CardKind kind = CardKind::Gsm;

    // --- phone books (DF_TELECOM, DF_GSM) ---
    PhoneBook adn;    // 6F3A, extension EF_EXT1
    PhoneBook fdn;    // 6F3B, extension EF_EXT2
    PhoneBook msisdn; // 6F40, own numbers, extension EF_EXT1
    PhoneBook sdn;    // 6F49, service dialling numbers, extension EF_EXT3
    PhoneBook lnd;    // 6F44, last numbers dialled (cyclic, newest first), extension EF_EXT1
    FileState spnState = FileState::NotRead;
    std::optional<ServiceProviderName> spn; // 6F46 under DF_GSM

    // --- messages (EF_SMS) ---
    SmsMessages sms; // 6F3C under DF_TELECOM

    // --- a UICC through its USIM application (empty for a GSM SIM) ---
    std::optional<UiccContent> uicc;
};
