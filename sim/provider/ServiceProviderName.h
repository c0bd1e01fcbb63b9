// EF_SPN (6F46 under DF_GSM): the display condition byte and the service
// provider name (16 bytes, coded as an alpha identifier).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "sim/text/AlphaIdentifier.h"

struct ServiceProviderName {
    uint8_t displayCondition = 0;
    AlphaText name;

    // Bit 1: the registered network's name is to be shown when that network
    // is the home network (or one of the provider's).
    bool NetworkNameAtHome() const { return (displayCondition & 0x01) != 0; }
    // Bit 2 clear: the provider name is to be shown when roaming elsewhere.
    bool ProviderNameWhenRoaming() const { return (displayCondition & 0x02) == 0; }
};

// Decodes the `length` bytes read of EF_SPN. False when nothing was read or
// the file is all padding.
bool DecodeServiceProviderName(const uint8_t* data, size_t length, ServiceProviderName& spn);
