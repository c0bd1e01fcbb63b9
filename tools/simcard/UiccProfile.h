// What a simulated UICC holds besides the GSM view: its file tree with the
// applications (ADFs), as the class 00 commands see it. Plain data; the JSON
// readers fill it (a profile's "uicc" section, or a file-system dump), the
// card model serves it. The PINs are the CardProfile's chv1 (key reference
// 01) and chv2 (81), shared with the GSM view.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace simcard {

enum class UiccFileType : uint8_t { Directory, Application, Transparent, LinearFixed, Cyclic, BerTlv };

// Who may read a file. Always, the two PINs, or nobody (ADM, never).
enum class UiccAccess : uint8_t { Always, Pin1, Pin2, Never };

struct UiccFileProfile {
    // Where it is: the parent's path and the file's own name. The MF is
    // "3F00"; below it file ids in hex, or an application's name ("ADF.USIM").
    std::vector<std::string> path;
    UiccFileType type = UiccFileType::Transparent;
    std::optional<uint16_t> fid;  // an application may have none
    std::vector<uint8_t> aid;     // applications only
    std::optional<uint8_t> sfi;   // none: the FCP says 88 00
    // The FCP as the card sends it; empty: built from the fields here. A
    // given FCP is answered as it is (a dumped card).
    std::vector<uint8_t> fcp;
    std::vector<uint8_t> data;    // transparent and BER-TLV files
    uint16_t recordLength = 0;    // record files: 1..255
    uint16_t recordCount = 0;
    std::vector<std::vector<uint8_t>> records; // from 1; missing ones all FF
    bool deactivated = false;     // selects, but every read answers 69 84
    UiccAccess read = UiccAccess::Always;
};

struct UiccProfile {
    // Class A0 is answered from the GSM view (the CardProfile's other keys);
    // false: a USIM-only card, every class A0 command gets 6E 00.
    bool answersGsm = true;
    uint8_t puk1AttemptsLeft = 10;
    uint8_t puk2AttemptsLeft = 10;
    std::vector<UiccFileProfile> files; // parents before their children
};

} // namespace simcard
