#include "FileControlParameters.h"

#include <algorithm>

#include "BerTlv.h"

namespace {

constexpr uint32_t FcpTag = 0x62;
constexpr uint32_t PinStatusTag = 0xC6;
constexpr uint8_t Shareable = 0x40;
constexpr uint8_t DirectoryByte = 0x38; // bits 6-1 of a DF's descriptor byte
constexpr uint8_t BerTlvByte = 0x39;    // bits 6-1 of a BER-TLV EF's
constexpr size_t RecordDescriptorLength = 5;
constexpr uint8_t MaxSfi = 30;

FileStructure StructureOf(uint8_t descriptorByte)
{
    if (descriptorByte & 0x80)
        return FileStructure::Unknown;
    const uint8_t kind = descriptorByte & 0x3F;
    if (kind == DirectoryByte)
        return FileStructure::Directory;
    if (kind == BerTlvByte)
        return FileStructure::BerTlv;
    if ((kind >> 3) > 1) // neither a working nor an internal EF
        return FileStructure::Unknown;
    switch (kind & 0x07) {
    case 1:
        return FileStructure::Transparent;
    case 2:
        return FileStructure::LinearFixed;
    case 6:
        return FileStructure::Cyclic;
    default:
        return FileStructure::Unknown;
    }
}

bool IsRecordStructure(FileStructure structure)
{
    return structure == FileStructure::LinearFixed || structure == FileStructure::Cyclic;
}

void TakeDescriptor(const Tlv& tlv, FileControlParameters& fcp)
{
    if (tlv.length == 0) {
        fcp.problems.push_back(FcpProblem::BadDescriptor);
        return;
    }
    FileDescriptor descriptor;
    descriptor.descriptorByte = tlv.value[0];
    descriptor.structure = StructureOf(tlv.value[0]);
    descriptor.shareable = (tlv.value[0] & Shareable) != 0;
    if (IsRecordStructure(descriptor.structure)) {
        if (tlv.length < RecordDescriptorLength) {
            fcp.problems.push_back(FcpProblem::BadDescriptor);
        } else {
            descriptor.recordLength = static_cast<uint16_t>(tlv.value[2] << 8 | tlv.value[3]);
            descriptor.recordCount = tlv.value[4];
        }
    }
    fcp.descriptor = descriptor;
}

void TakeSfi(const Tlv& tlv, FileControlParameters& fcp)
{
    if (tlv.length == 0) {
        fcp.sfi.state = SfiState::NotSupported;
        return;
    }
    const uint8_t sfi = tlv.value[0] >> 3;
    if (tlv.length != 1 || sfi == 0 || sfi > MaxSfi) {
        fcp.problems.push_back(FcpProblem::BadSfi);
        return;
    }
    fcp.sfi = {SfiState::Present, sfi};
}

LifeCycle LifeCycleOf(uint8_t status)
{
    if (status == 0x01)
        return LifeCycle::Creation;
    if (status == 0x03)
        return LifeCycle::Initialisation;
    if ((status & 0xFC) == 0x0C)
        return LifeCycle::Terminated;
    if ((status & 0xFC) == 0x04)
        return status & 0x01 ? LifeCycle::Activated : LifeCycle::Deactivated;
    return LifeCycle::Unknown;
}

void TakeLifeCycle(const Tlv& tlv, FileControlParameters& fcp)
{
    if (tlv.length != 1) {
        fcp.problems.push_back(FcpProblem::BadLifeCycle);
        return;
    }
    fcp.lifeCycleByte = tlv.value[0];
    fcp.lifeCycle = LifeCycleOf(tlv.value[0]);
}

void TakeSize(const Tlv& tlv, std::optional<uint32_t>& size, FileControlParameters& fcp)
{
    if (tlv.length == 0 || tlv.length > 4) {
        fcp.problems.push_back(FcpProblem::BadSize);
        return;
    }
    uint32_t value = 0;
    for (size_t i = 0; i < tlv.length; ++i)
        value = value << 8 | tlv.value[i];
    size = value;
}

std::vector<uint8_t> Bytes(const Tlv& tlv)
{
    return {tlv.value, tlv.value + tlv.length};
}

void TakeObject(const Tlv& tlv, FileControlParameters& fcp)
{
    switch (tlv.tag) {
    case 0x82:
        return TakeDescriptor(tlv, fcp);
    case 0x83:
        if (tlv.length == 2)
            fcp.fileId = static_cast<uint16_t>(tlv.value[0] << 8 | tlv.value[1]);
        else
            fcp.problems.push_back(FcpProblem::BadFileId);
        return;
    case 0x84:
        fcp.dfName = Bytes(tlv);
        return;
    case 0x88:
        return TakeSfi(tlv, fcp);
    case 0x8A:
        return TakeLifeCycle(tlv, fcp);
    case 0x8B:
    case 0x8C:
    case 0xAB:
        fcp.security.push_back({static_cast<uint8_t>(tlv.tag), Bytes(tlv)});
        return;
    case 0x80:
        return TakeSize(tlv, fcp.fileSize, fcp);
    case 0x81:
        return TakeSize(tlv, fcp.totalFileSize, fcp);
    case 0xA5:
        fcp.proprietary = Bytes(tlv);
        return;
    case PinStatusTag: // a template: the keys it holds whole stand
        fcp.pinStatus = DecodePinStatusTemplate(tlv.value, tlv.length);
        fcp.pinStatus->malformed |= tlv.cut;
        if (fcp.pinStatus->malformed)
            fcp.problems.push_back(FcpProblem::BadPinStatus);
        return;
    default:
        return; // objects of no interest to a reader
    }
}

} // namespace

bool FileControlParameters::Has(FcpProblem problem) const
{
    return std::find(problems.begin(), problems.end(), problem) != problems.end();
}

FileControlParameters DecodeFileControlParameters(const uint8_t* data, size_t size)
{
    FileControlParameters fcp;
    const TlvList outer = ReadTlvs(data, size);
    if (outer.items.empty() || outer.items.front().tag != FcpTag) {
        fcp.problems.push_back(FcpProblem::NotFcp);
        return fcp;
    }
    // A template cut short still yields the objects it holds whole.
    const Tlv& fcpTlv = outer.items.front();
    const TlvList inner = ReadTlvs(fcpTlv.value, fcpTlv.length);
    if (fcpTlv.cut || inner.malformed)
        fcp.problems.push_back(FcpProblem::Cut);
    for (const Tlv& tlv : inner.items)
        if (!tlv.cut || tlv.tag == PinStatusTag)
            TakeObject(tlv, fcp);
    if (!fcp.descriptor && !fcp.Has(FcpProblem::BadDescriptor))
        fcp.problems.push_back(FcpProblem::BadDescriptor);
    return fcp;
}
