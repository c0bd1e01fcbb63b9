// One record of a dialling-number file (EF_ADN, EF_FDN, EF_MSISDN, EF_SDN,
// EF_LND): alpha identifier, then 14 bytes of number length, TON/NPI, ten
// BCD bytes, capability/configuration and extension record identifiers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "sim/text/AlphaIdentifier.h"

// Bytes of a record after its alpha identifier.
constexpr unsigned DiallingRecordTailLength = 14;

// Marks "no record" in the capability and extension identifiers.
constexpr uint8_t NoRecordId = 0xFF;

struct DiallingRecordFields {
    AlphaText name;
    std::string digits;        // this record's digits only, without "+"
    uint8_t tonNpi = 0xFF;
    uint8_t capabilityId = NoRecordId;
    uint8_t extensionId = NoRecordId; // first extension record
};

// Decodes the `length` bytes received of a record whose alpha identifier
// takes `alphaLength` bytes; fields beyond what was received stay unset.
// Returns false for an unused record: no name and no number.
bool DecodeDiallingRecordFields(const uint8_t* record, size_t length, size_t alphaLength,
                                DiallingRecordFields& fields);

// The extension record identifier of such a record, NoRecordId when it was
// not received.
uint8_t ExtensionIdOf(const uint8_t* record, size_t length, size_t alphaLength);
