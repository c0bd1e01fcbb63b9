// One file of the simulated SIM: the MF, a DF or an elementary file.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "CardProfile.h"

namespace simcard {

enum class FileKind : uint8_t { Master = 1, Dedicated = 2, Elementary = 4 }; // header byte 6
enum class EfStructure : uint8_t { Transparent = 0, LinearFixed = 1 };       // header byte 13

class SimFile {
public:
    static std::unique_ptr<SimFile> Directory(uint16_t id, FileKind kind);
    static std::unique_ptr<SimFile> Transparent(uint16_t id, const TransparentFileProfile& profile);
    static std::unique_ptr<SimFile> LinearFixed(uint16_t id, const RecordFileProfile& profile);

    SimFile* Add(std::unique_ptr<SimFile> child);
    const SimFile* Child(uint16_t id) const;
    const std::vector<std::unique_ptr<SimFile>>& Children() const { return m_children; }
    const SimFile* Parent() const { return m_parent; }

    uint16_t Id() const { return m_id; }
    FileKind Kind() const { return m_kind; }
    bool IsDirectory() const { return m_kind != FileKind::Elementary; }
    EfStructure Structure() const { return m_structure; }
    const AccessProfile& Access() const { return m_access; }

    // The size the header announces (records × length for a record file).
    uint16_t DeclaredSize() const;
    uint8_t RecordLength() const { return m_recordLength; }
    uint16_t RecordCount() const { return m_recordCount; }

    // The bytes a READ BINARY from `offset` answers, at most `length`.
    std::vector<uint8_t> ReadData(unsigned offset, unsigned length) const;
    // The bytes READ RECORD answers for record `number` (1..RecordCount()).
    std::vector<uint8_t> Record(unsigned number) const;

private:
    SimFile(uint16_t id, FileKind kind) : m_id(id), m_kind(kind) {}

    uint16_t m_id;
    FileKind m_kind;
    SimFile* m_parent = nullptr;
    std::vector<std::unique_ptr<SimFile>> m_children;

    EfStructure m_structure = EfStructure::Transparent;
    AccessProfile m_access;
    std::vector<uint8_t> m_data;
    uint16_t m_declaredSize = 0;
    uint8_t m_recordLength = 0;
    uint16_t m_recordCount = 0;
    std::vector<std::vector<uint8_t>> m_records;
    bool m_exactRecords = false;
};

} // namespace simcard
