#include "UiccFile.h"

namespace simcard {

UiccFile::UiccFile(UiccFileProfile profile, bool isMf, const PinStates& pins)
    : m_profile(std::move(profile))
{
    m_fcp = m_profile.fcp.empty() ? BuildFcp(m_profile, isMf, pins) : m_profile.fcp;
    const std::optional<FcpFacts> facts = ParseFcp(m_fcp);
    if (facts && facts->sfiTagPresent)
        m_sfi = facts->sfi;
    else if (m_profile.fid && (*m_profile.fid & 0x1F) != 0)
        m_sfi = static_cast<uint8_t>(*m_profile.fid & 0x1F);
}

UiccFile* UiccFile::Add(std::unique_ptr<UiccFile> child)
{
    child->m_parent = this;
    m_children.push_back(std::move(child));
    return m_children.back().get();
}

bool UiccFile::IsDirectory() const
{
    return m_profile.type == UiccFileType::Directory || m_profile.type == UiccFileType::Application;
}

bool UiccFile::HasRecords() const
{
    return m_profile.type == UiccFileType::LinearFixed || m_profile.type == UiccFileType::Cyclic;
}

const UiccFile* UiccFile::Child(uint16_t fid) const
{
    for (const auto& child : m_children) {
        if (!child->IsApplication() && child->m_profile.fid == fid)
            return child.get();
    }
    return nullptr;
}

const UiccFile* UiccFile::ChildDirectory(uint16_t fid) const
{
    const UiccFile* child = Child(fid);
    return child != nullptr && child->IsDirectory() ? child : nullptr;
}

const UiccFile* UiccFile::ChildBySfi(uint8_t sfi) const
{
    for (const auto& child : m_children) {
        if (!child->IsDirectory() && child->m_sfi == sfi)
            return child.get();
    }
    return nullptr;
}

std::vector<uint8_t> UiccFile::Record(unsigned number) const
{
    std::vector<uint8_t> record;
    if (number >= 1 && number <= m_profile.records.size())
        record = m_profile.records[number - 1];
    record.resize(m_profile.recordLength, 0xFF);
    return record;
}

} // namespace simcard
