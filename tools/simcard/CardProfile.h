// What a simulated SIM holds: files, PINs and the answer to reset.
// Plain data; the JSON reader fills it, the card model serves it.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "UiccProfile.h"

namespace simcard {

// Access-condition nibbles of a file header (GSM 11.11).
namespace access {
constexpr uint8_t Always = 0x0;
constexpr uint8_t Chv1 = 0x1;
constexpr uint8_t Chv2 = 0x2;
constexpr uint8_t Adm = 0x4;
constexpr uint8_t Never = 0xF;
} // namespace access

struct AccessProfile {
    uint8_t read = access::Always;
    uint8_t update = access::Adm;
};

struct TransparentFileProfile {
    std::vector<uint8_t> data;
    // File size the header announces; the data length when absent. A size
    // larger than the data makes a card that lies about its length.
    std::optional<uint16_t> declaredSize;
    AccessProfile access;
};

struct RecordFileProfile {
    uint8_t recordLength = 0;
    uint16_t recordCount = 0;
    // Records from number 1; missing ones are empty (all FF). Shorter records
    // are padded with FF to recordLength unless exactRecords is set, in which
    // case they are answered exactly as given (a card whose lengths lie).
    std::vector<std::vector<uint8_t>> records;
    bool exactRecords = false;
    AccessProfile access;
};

struct ChvProfile {
    bool present = true;
    bool enabled = true;          // CHV1 only: false means CHV1 disabled
    std::string value;            // digits; padded with FF to 8 bytes
    uint8_t attemptsLeft = 3;
    uint8_t maxAttempts = 3;
    // CHV2 only, when not present: directory answers still hold its two
    // status bytes, marked not initialised (22 bytes, as most real SIMs
    // send), instead of ending after the CHV1 bytes (20 bytes).
    bool listedWhenAbsent = false;
};

struct CardProfile {
    std::vector<uint8_t> atr;     // empty: the default GSM SIM answer to reset
    std::optional<TransparentFileProfile> iccid; // EF 2FE2 under the MF
    bool hasDfGsm = true;
    std::optional<TransparentFileProfile> imsi;  // EF 6F07 under DF_GSM
    bool hasDfTelecom = true;
    std::optional<RecordFileProfile> adn;        // EF 6F3A under DF_TELECOM
    std::optional<RecordFileProfile> fdn;        // EF 6F3B
    std::optional<RecordFileProfile> sms;        // EF 6F3C
    // Further record files under DF_TELECOM, by file id: EF_MSISDN 6F40,
    // EF_LND 6F44, EF_SDN 6F49, EF_EXT1-3 6F4A-6F4C.
    std::vector<std::pair<uint16_t, RecordFileProfile>> telecomRecordFiles;
    std::optional<TransparentFileProfile> spn;   // EF 6F46 under DF_GSM
    ChvProfile chv1;
    ChvProfile chv2;
    // Overrides the length of the GSM-specific data (byte 12) in directory
    // responses; a value that does not match the bytes that follow is a lie.
    std::optional<uint8_t> gsmDataLength;
    // A UICC: class 00/80 commands on this file tree (UiccProfile.h).
    std::optional<UiccProfile> uicc;
};

} // namespace simcard
