// What --full reads from a UICC through its USIM application: the
// applications EF_DIR lists, the identity, the PINs' state, the ADF's files
// and the USIM phone books. Filled by the card layer after the dialog's read;
// the front ends only render it.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/content/PhoneBook.h"
#include "sim/content/RawCardFile.h"
#include "sim/provider/ServiceProviderName.h"
#include "sim/sms/SmsMessages.h"
#include "sim/uicc/UsimPhoneBookEntry.h"

// What kind of card answered: a GSM SIM only (class A0), a UICC that answers
// class A0 as well (a GSM view of its files), or a UICC only.
enum class CardKind { Gsm, UiccWithGsm, Uicc };

struct UiccApplication {
    unsigned record = 0;      // the EF_DIR record, from 1
    std::vector<uint8_t> aid; // as EF_DIR gives it, card-specific suffix included
    std::string label;        // UTF-8; empty when the record has none
    bool usim = false;        // a 3GPP USIM (the one read is the first of them)
};

// A PIN as the card reports it without anything presented: enabled from the
// PS_DO of the FCP, tries left from VERIFY without data, the unblocking
// key's tries from UNBLOCK without data.
struct UiccPin {
    uint8_t keyReference = 0;              // 01..08 or 11 (universal) for PIN1, 81..88 for PIN2
    std::optional<bool> enabled;           // empty when the FCP does not list the key
    std::optional<uint8_t> triesLeft;      // 0 = blocked
    std::optional<uint8_t> unblockTriesLeft;
    bool verified = false;                 // presented this run and accepted, or not needed
};

// One USIM phone book (DF_PHONEBOOK): global under DF_TELECOM, local under
// the ADF.
struct UsimPhoneBookContent {
    FileState state = FileState::NotRead; // of the DF and its EF_PBR together
    bool fromPbr = true;                  // false: read as a plain EF_ADN (no EF_PBR)
    unsigned setCount = 0;                // EF_PBR records that describe a set
    UsimPhoneBook book;
};

// A file the card would not read, with the status word it answered (69 82
// an access condition not met, 69 84 a deactivated file, ...).
struct UiccRefusedFile {
    uint16_t fileId = 0;
    uint16_t statusWord = 0;
};

struct UiccContent {
    FileState dirState = FileState::NotRead; // EF_DIR
    std::vector<UiccApplication> applications;
    FileState iccidState = FileState::NotRead;
    std::string iccid;                    // the digits, as the card stores them swapped
    bool usimSelected = false;            // the USIM's ADF answered its SELECT by AID
    FileState imsiState = FileState::NotRead;
    std::string imsi;
    UiccPin pin1;
    UiccPin pin2;
    // EF_UST service 1 (local phone book) and EF_EST service 1 (FDN enabled);
    // empty when the table was not read.
    std::optional<bool> localPhoneBookService;
    std::optional<bool> fdnEnabled;
    PhoneBook msisdn; // ADF 6F40, extension EF_EXT5
    PhoneBook fdn;    // ADF 6F3B, extension EF_EXT2
    PhoneBook sdn;    // ADF 6F49, extension EF_EXT3
    FileState spnState = FileState::NotRead;
    std::optional<ServiceProviderName> spn; // ADF 6F46
    SmsMessages sms;                         // ADF 6F3C
    UsimPhoneBookContent globalPhoneBook;    // DF_TELECOM/DF_PHONEBOOK
    UsimPhoneBookContent localPhoneBook;     // ADF/DF_PHONEBOOK (NotRead when the card has none)
    std::vector<UiccRefusedFile> refused;    // in the order the read met them

    // The first USIM EF_DIR lists: the one the read selects. Null when none.
    const UiccApplication* FirstUsim() const
    {
        for (const UiccApplication& application : applications) {
            if (application.usim)
                return &application;
        }
        return nullptr;
    }

    // The card has a local phone book: the read found it, or the USIM's
    // service table says it is there.
    bool HasLocalPhoneBook() const
    {
        return localPhoneBook.state != FileState::NotRead || localPhoneBookService.value_or(false);
    }
};
