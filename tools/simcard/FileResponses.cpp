#include "FileResponses.h"

namespace simcard {
namespace {

constexpr uint8_t AdministrativeConditions = 0x44; // REHABILITATE / INVALIDATE: ADM
constexpr uint8_t NotInvalidated = 0x01;
constexpr uint8_t ClockStopAllowed = 0x13;          // file characteristics, CHV1 enabled
constexpr uint8_t Chv1DisabledBit = 0x80;
constexpr uint8_t UnblockStatus = 0x8A;             // initialised, 10 attempts
constexpr uint8_t NotInitialised = 0x00;
constexpr uint16_t FreeMemory = 0x0BB8;

uint8_t High(uint16_t value) { return static_cast<uint8_t>(value >> 8); }
uint8_t Low(uint16_t value) { return static_cast<uint8_t>(value & 0xFF); }

} // namespace

std::vector<uint8_t> EfResponse(const SimFile& file)
{
    const uint16_t size = file.DeclaredSize();
    const AccessProfile& access = file.Access();
    return {
        0x00, 0x00, High(size), Low(size), High(file.Id()), Low(file.Id()),
        static_cast<uint8_t>(FileKind::Elementary), 0x00,
        static_cast<uint8_t>((access.read & 0x0F) << 4 | (access.update & 0x0F)),
        0xF0, AdministrativeConditions, NotInvalidated,
        0x02, static_cast<uint8_t>(file.Structure()), file.RecordLength(),
    };
}

std::vector<uint8_t> DirectoryResponse(const SimFile& directory, const Chv& chv1, const Chv& chv2,
                                       std::optional<uint8_t> gsmDataLength)
{
    uint8_t directories = 0;
    uint8_t elementaryFiles = 0;
    for (const auto& child : directory.Children()) {
        if (child->IsDirectory())
            ++directories;
        else
            ++elementaryFiles;
    }
    const uint8_t characteristics = chv1.Enabled() ? ClockStopAllowed : ClockStopAllowed | Chv1DisabledBit;
    const uint8_t codes = chv2.Listed() ? 4 : 2;

    std::vector<uint8_t> response = {
        0x00, 0x00, High(FreeMemory), Low(FreeMemory), High(directory.Id()), Low(directory.Id()),
        static_cast<uint8_t>(directory.Kind()), 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, // length of the GSM-specific data, set below
        characteristics, directories, elementaryFiles, codes, 0x00,
        chv1.StatusByte(), UnblockStatus,
    };
    // Without a CHV2 the data ends after the CHV1 bytes, or holds CHV2 and
    // UNBLOCK CHV2 as not initialised.
    if (chv2.Present()) {
        response.push_back(chv2.StatusByte());
        response.push_back(UnblockStatus);
        response.push_back(0x00);
    } else if (chv2.Listed()) {
        response.push_back(chv2.StatusByte());
        response.push_back(NotInitialised);
    }
    response[12] = gsmDataLength.value_or(static_cast<uint8_t>(response.size() - 13));
    return response;
}

} // namespace simcard
