// EF_PBR (4F30 in a phone-book DF): one record a set of phone-book files.
// Each record holds templates A8 (type 1 files: one record for each EF_ADN
// record), A9 (type 2: reached through EF_IAP, whose pointers follow the
// order of this template) and AA (type 3: reached through record numbers
// held in other records), each listing files by a tag of their kind, with
// their file id and optionally their SFI.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The tag that names a file's kind. Other tags may occur and are kept.
enum class PhoneBookFileKind : uint8_t {
    Adn = 0xC0,
    Iap = 0xC1,
    Ext1 = 0xC2,
    Sne = 0xC3,
    Anr = 0xC4,
    Pbc = 0xC5,
    Grp = 0xC6,
    Aas = 0xC7,
    Gas = 0xC8,
    Uid = 0xC9,
    Email = 0xCA,
    Ccp1 = 0xCB,
};

enum class PhoneBookLink : uint8_t {
    Type1 = 0xA8,
    Type2 = 0xA9,
    Type3 = 0xAA,
};

struct PhoneBookFileRef {
    PhoneBookFileKind kind = PhoneBookFileKind::Adn;
    PhoneBookLink link = PhoneBookLink::Type1;
    uint16_t fileId = 0;
    std::optional<uint8_t> sfi;
    // Type 2 files: the position (from 0) of this file's pointer in an EF_IAP
    // record. Every object of the A9 template takes a position, so that a
    // malformed one does not move the pointers of those after it.
    unsigned iapIndex = 0;
};

enum class PbrProblem {
    Cut,         // a length runs past the record
    BadFileTlv,  // a file object neither 2 (FID) nor 3 (FID, SFI) bytes long
};

struct PhoneBookSet {
    bool used = false; // false: the record starts FF and holds no set
    std::vector<PhoneBookFileRef> files; // in record order, repeats kept
    std::vector<PbrProblem> problems;

    // The first file of `kind`, or null.
    const PhoneBookFileRef* Find(PhoneBookFileKind kind) const;
    // Every file of `kind`, in record order (a set may have several ANR files).
    std::vector<const PhoneBookFileRef*> All(PhoneBookFileKind kind) const;
};

PhoneBookSet DecodePhoneBookReference(const uint8_t* record, size_t length);
