#include "SimFile.h"

#include <algorithm>

namespace simcard {

namespace {
constexpr size_t MaxResponseData = 256;
}

std::unique_ptr<SimFile> SimFile::Directory(uint16_t id, FileKind kind)
{
    return std::unique_ptr<SimFile>(new SimFile(id, kind));
}

std::unique_ptr<SimFile> SimFile::Transparent(uint16_t id, const TransparentFileProfile& profile)
{
    std::unique_ptr<SimFile> file(new SimFile(id, FileKind::Elementary));
    file->m_structure = EfStructure::Transparent;
    file->m_access = profile.access;
    file->m_data = profile.data;
    const size_t dataSize = std::min<size_t>(profile.data.size(), 0xFFFF);
    file->m_declaredSize = profile.declaredSize.value_or(static_cast<uint16_t>(dataSize));
    return file;
}

std::unique_ptr<SimFile> SimFile::LinearFixed(uint16_t id, const RecordFileProfile& profile)
{
    std::unique_ptr<SimFile> file(new SimFile(id, FileKind::Elementary));
    file->m_structure = EfStructure::LinearFixed;
    file->m_access = profile.access;
    file->m_recordLength = profile.recordLength;
    file->m_recordCount = profile.recordCount;
    file->m_records = profile.records;
    file->m_exactRecords = profile.exactRecords;
    return file;
}

SimFile* SimFile::Add(std::unique_ptr<SimFile> child)
{
    child->m_parent = this;
    m_children.push_back(std::move(child));
    return m_children.back().get();
}

const SimFile* SimFile::Child(uint16_t id) const
{
    for (const auto& child : m_children) {
        if (child->m_id == id)
            return child.get();
    }
    return nullptr;
}

uint16_t SimFile::DeclaredSize() const
{
    if (m_structure == EfStructure::LinearFixed) {
        const unsigned size = unsigned{m_recordLength} * m_recordCount;
        return static_cast<uint16_t>(std::min(size, 0xFFFFu));
    }
    return m_declaredSize;
}

std::vector<uint8_t> SimFile::ReadData(unsigned offset, unsigned length) const
{
    if (offset >= m_data.size())
        return {};
    const size_t available = m_data.size() - offset;
    const auto begin = m_data.begin() + static_cast<std::ptrdiff_t>(offset);
    return std::vector<uint8_t>(begin, begin + static_cast<std::ptrdiff_t>(std::min<size_t>(available, length)));
}

std::vector<uint8_t> SimFile::Record(unsigned number) const
{
    std::vector<uint8_t> record;
    if (number >= 1 && number <= m_records.size())
        record = m_records[number - 1];
    if (m_exactRecords && number <= m_records.size()) {
        if (record.size() > MaxResponseData)
            record.resize(MaxResponseData); // all that a T=0 response can carry
        return record;
    }
    record.resize(m_recordLength, 0xFF);
    return record;
}

} // namespace simcard
