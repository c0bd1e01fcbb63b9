#include "RawFileReader.h"

#include <algorithm>

#include "RecordLoop.h"
#include "sim/ResultCodes.h"
#include "sim/SimFiles.h"

namespace {

constexpr uint8_t TransparentStructure = 0x00;
constexpr size_t StructureByte = 13;
constexpr size_t RecordLengthByte = 14;
constexpr unsigned MaxReadLength = 255;

// A result that is the card's answer rather than a failure of the way to it.
bool IsCardAnswer(LONG result)
{
    return result == sc::Success || result == sc::Unexpected || result == sc::FileNotFound;
}

// A card's answer becomes the file's state; a transport error is returned.
LONG Settle(LONG result, RawCardFile& file, FileState stateOnAnswer)
{
    if (!IsCardAnswer(result))
        return result;
    file.state = stateOnAnswer;
    return sc::Success;
}

// A SELECT that found no file: absent only when the card says so (94 04,
// 6A 82); a memory or technical problem (92 40, 65 xx, 6F 00) is an error,
// any other answer (such as 6E 00, class not supported) a refusal.
FileState StateOfFailedSelect(uint16_t statusWord)
{
    if (statusWord == 0x9404 || statusWord == 0x6A82)
        return FileState::Absent;
    if (statusWord == 0x9240 || statusWord >> 8 == 0x65 || statusWord == 0x6F00)
        return FileState::Error;
    return FileState::Refused;
}

// Starts `file` afresh, then SELECT MF, directory and file, and the file's
// size from its header. False when the file cannot be read: its state is
// set, and `error` is the transport error that stopped it or 0.
bool OpenFile(CCardReader& reader, uint16_t directory, uint16_t fileId, std::vector<uint8_t>& header,
              RawCardFile& file, LONG& error)
{
    file = RawCardFile{};
    file.fileId = fileId;
    error = sc::Success;
    for (uint16_t id : {simfile::Mf, directory, fileId}) {
        const LONG result = reader.SelectFile(id, header);
        if (result != sc::Success) {
            const bool noFile = result == sc::FileNotFound;
            error = Settle(result, file, noFile ? StateOfFailedSelect(reader.LastSelectStatus()) : FileState::Refused);
            return false;
        }
    }
    uint16_t size = 0;
    int32_t readAccess = 0;
    int32_t updateAccess = 0;
    if (CCardReader::ParseFileHeader(header, size, readAccess, updateAccess) != sc::Success) {
        file.state = FileState::Unusable;
        return false;
    }
    file.fileSize = size;
    return true;
}

// The state of a read that ended with `result`; returns a transport error.
LONG Finish(LONG result, RawCardFile& file)
{
    if (result == sc::Success) {
        file.state = FileState::Read;
        return result;
    }
    return Settle(result, file, file.records.empty() ? FileState::Refused : FileState::Incomplete);
}

} // namespace

LONG ReadRawRecordFile(CCardReader& reader, uint16_t directory, uint16_t fileId, uint8_t minimumRecordLength,
                       RawCardFile& file)
{
    std::vector<uint8_t> header;
    LONG result = sc::Success;
    if (!OpenFile(reader, directory, fileId, header, file, result))
        return result;
    file.recordLength = header[RecordLengthByte];
    if (header[StructureByte] == TransparentStructure || file.recordLength == 0 ||
        file.recordLength < minimumRecordLength) {
        file.state = FileState::Unusable;
        return sc::Success;
    }
    file.recordCount = static_cast<uint16_t>(file.fileSize / file.recordLength);
    result = card_detail::ReadRecords(reader, file.recordCount, file.recordLength,
                                      [&](const uint8_t* data, size_t length) {
                                          file.records.emplace_back(data, data + length);
                                      });
    return Finish(result, file);
}

LONG ReadRawTransparentFile(CCardReader& reader, uint16_t directory, uint16_t fileId, RawCardFile& file)
{
    std::vector<uint8_t> header;
    LONG result = sc::Success;
    if (!OpenFile(reader, directory, fileId, header, file, result))
        return result;
    if (header[StructureByte] != TransparentStructure) {
        file.state = FileState::Unusable;
        return sc::Success;
    }
    const unsigned length = std::min<unsigned>(file.fileSize, MaxReadLength);
    std::vector<uint8_t> data(length);
    result = length == 0 ? sc::Success : reader.ReadBinary(length, data.data());
    if (result == sc::Success)
        file.records.push_back(std::move(data));
    return Finish(result, file);
}
