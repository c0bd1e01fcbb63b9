#include "UiccFileReader.h"

#include <algorithm>

#include "sim/ResultCodes.h"
#include "sim/uicc/FileControlParameters.h"

namespace {

constexpr unsigned MaxReadLength = 255;
constexpr uint32_t MaxTransparentSize = 0x7FFF; // READ BINARY offsets are 15 bits
constexpr unsigned MaxRecordLength = 256;       // what a one-byte Le can ask for

void Refuse(uint16_t fileId, uint16_t statusWord, RawCardFile& file, UiccWalkLog& log)
{
    file.state = StateOfUiccAnswer(statusWord);
    if (file.state != FileState::Absent)
        log.refused.push_back({fileId, statusWord});
}

// A read that stopped at an answer other than success: refused when nothing
// was read yet, incomplete otherwise. Returns a transport error.
LONG Stop(const UiccAnswer& answer, uint16_t fileId, RawCardFile& file, UiccWalkLog& log)
{
    if (answer.result != sc::Success && answer.result != sc::Unexpected)
        return answer.result;
    if (file.records.empty() || file.records.front().empty())
        Refuse(fileId, answer.statusWord, file, log);
    else
        file.state = FileState::Incomplete;
    return sc::Success;
}

LONG ReadRecords(UiccCommands& commands, uint16_t fileId, RawCardFile& file, UiccWalkLog& log)
{
    for (unsigned number = 1; number <= file.recordCount; ++number) {
        const UiccAnswer answer = commands.ReadRecord(static_cast<uint8_t>(number), file.recordLength == 0
                                                                                        ? MaxRecordLength
                                                                                        : file.recordLength);
        if (!answer.Ok())
            return Stop(answer, fileId, file, log);
        file.records.push_back(answer.data);
    }
    file.state = FileState::Read;
    return sc::Success;
}

LONG ReadBody(UiccCommands& commands, uint16_t fileId, RawCardFile& file, UiccWalkLog& log)
{
    std::vector<uint8_t> body;
    file.records.emplace_back();
    while (body.size() < file.fileSize) {
        const unsigned length = std::min<unsigned>(MaxReadLength, file.fileSize - static_cast<unsigned>(body.size()));
        const UiccAnswer answer = commands.ReadBinary(static_cast<uint16_t>(body.size()), length);
        if (!answer.Ok() || answer.data.empty() || answer.data.size() > length) {
            file.records.front() = body;
            return Stop(answer, fileId, file, log);
        }
        body.insert(body.end(), answer.data.begin(), answer.data.end());
    }
    file.records.front() = std::move(body);
    file.state = FileState::Read;
    return sc::Success;
}

} // namespace

FileState StateOfUiccAnswer(uint16_t statusWord)
{
    if (statusWord == 0x6A82)
        return FileState::Absent;
    if (statusWord >> 8 == 0x65 || statusWord == 0x6F00)
        return FileState::Error;
    return FileState::Refused;
}

LONG ReadUiccFile(UiccCommands& commands, uint16_t fileId, unsigned minimumRecordLength, RawCardFile& file,
                  UiccWalkLog& log)
{
    file = RawCardFile{};
    file.fileId = fileId;
    const UiccAnswer selected = commands.SelectById(fileId);
    if (selected.result != sc::Success)
        return selected.result;
    if (!selected.Ok()) {
        Refuse(fileId, selected.statusWord, file, log);
        return sc::Success;
    }
    const FileControlParameters fcp = DecodeFileControlParameters(selected.data.data(), selected.data.size());
    file.state = FileState::Unusable;
    if (!fcp.descriptor)
        return sc::Success;
    switch (fcp.descriptor->structure) {
    case FileStructure::LinearFixed:
    case FileStructure::Cyclic:
        if (fcp.descriptor->recordLength == 0 || fcp.descriptor->recordLength > MaxRecordLength ||
            fcp.descriptor->recordLength < minimumRecordLength)
            return sc::Success;
        file.recordLength = static_cast<uint8_t>(fcp.descriptor->recordLength & 0xFF); // 256 is kept as 0
        file.recordCount = fcp.descriptor->recordCount;
        file.fileSize = static_cast<uint16_t>(std::min<uint32_t>(0xFFFF, fcp.descriptor->recordLength *
                                                                             uint32_t{file.recordCount}));
        return ReadRecords(commands, fileId, file, log);
    case FileStructure::Transparent:
        if (!fcp.fileSize || *fcp.fileSize > MaxTransparentSize)
            return sc::Success;
        file.fileSize = static_cast<uint16_t>(*fcp.fileSize);
        return ReadBody(commands, fileId, file, log);
    default:
        return sc::Success; // a directory or a BER-TLV file: no READ BINARY or RECORD reads it
    }
}
