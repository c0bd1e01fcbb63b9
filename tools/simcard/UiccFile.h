// One file of a simulated UICC's tree: the MF, a DF, an application (ADF)
// or an elementary file, with the FCP it answers.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "Fcp.h"
#include "UiccProfile.h"

namespace simcard {

class UiccFile {
public:
    UiccFile(UiccFileProfile profile, bool isMf, const PinStates& pins);

    UiccFile* Add(std::unique_ptr<UiccFile> child);
    const UiccFile* Parent() const { return m_parent; }
    const std::vector<std::unique_ptr<UiccFile>>& Children() const { return m_children; }

    // A child by file id (applications are found by AID only).
    const UiccFile* Child(uint16_t fid) const;
    // A child directory by file id.
    const UiccFile* ChildDirectory(uint16_t fid) const;
    // An elementary file of this directory by short file identifier.
    const UiccFile* ChildBySfi(uint8_t sfi) const;

    const UiccFileProfile& Profile() const { return m_profile; }
    const std::vector<uint8_t>& Fcp() const { return m_fcp; }
    UiccFileType Type() const { return m_profile.type; }
    bool IsDirectory() const;
    bool IsApplication() const { return m_profile.type == UiccFileType::Application; }
    bool HasRecords() const;
    // The short file identifier SFI addressing finds it by: the FCP's tag
    // 88, or without that tag the low five bits of the file id.
    std::optional<uint8_t> Sfi() const { return m_sfi; }

    // Record `number` (1..count) padded with FF to the record length.
    std::vector<uint8_t> Record(unsigned number) const;

private:
    UiccFileProfile m_profile;
    std::vector<uint8_t> m_fcp;
    std::optional<uint8_t> m_sfi;
    UiccFile* m_parent = nullptr;
    std::vector<std::unique_ptr<UiccFile>> m_children;
};

} // namespace simcard
