#include "RawFileReader.h"

#include <algorithm>

#include "RecordLoop.h"
#include "sim/DiallingNumbers.h"
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

// The state of a file whose SELECT (or its directory's) ended with `result`.
FileState StateOfFailedSelect(LONG result, uint16_t statusWord)
{
    return result == sc::FileNotFound ? StateOfFailedSelect(statusWord) : FileState::Refused;
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

// The file's size from its header; false (the file Unusable) when the header
// is not one.
bool TakeSize(const std::vector<uint8_t>& header, RawCardFile& file)
{
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

// The record geometry of a header that passed TakeSize; false (the file
// Unusable) when it does not describe a record file of records this long.
bool TakeRecordGeometry(const std::vector<uint8_t>& header, uint8_t minimumRecordLength, RawCardFile& file)
{
    file.recordLength = header[RecordLengthByte];
    if (header[StructureByte] == TransparentStructure || file.recordLength == 0 ||
        file.recordLength < minimumRecordLength) {
        file.state = FileState::Unusable;
        return false;
    }
    file.recordCount = static_cast<uint16_t>(file.fileSize / file.recordLength);
    return true;
}

uint8_t LastRecord(const RawCardFile& file)
{
    return static_cast<uint8_t>(card_detail::LastReadableRecord(file.recordCount));
}

// Whether `received` holds record `number`, asked for with this file's length.
bool HoldsRecord(const ReceivedFile* received, unsigned number, const RawCardFile& file)
{
    if (received == nullptr)
        return false;
    const auto found = received->records.find(number);
    return found != received->records.end() && found->second.first == file.recordLength;
}

// Moves record `number` from `received` to the end of `file`'s records when
// received holds it: it is taken once, and a later read asks the card.
bool TakeRecord(ReceivedFile* received, unsigned number, RawCardFile& file)
{
    if (!HoldsRecord(received, number, file))
        return false;
    const auto found = received->records.find(number);
    file.records.push_back(std::move(found->second.second));
    received->records.erase(found);
    return true;
}

// Starts `file` afresh and fills it from `received` alone, taking the
// records out of it. True when that settles the file: every record is
// there, or the card's answers there end it; false when the card must be
// asked (and `received` keeps its records for that read).
bool TakeReceived(ReceivedFile& received, uint8_t minimumRecordLength, RawCardFile& file)
{
    if (received.failedSelectStatus != 0) {
        file.state = StateOfFailedSelect(received.failedSelectStatus);
        return true;
    }
    if (received.header.empty())
        return false;
    if (!TakeSize(received.header, file) || !TakeRecordGeometry(received.header, minimumRecordLength, file))
        return true;
    // The records held, up to the first one missing.
    unsigned held = 0;
    while (held < LastRecord(file) && HoldsRecord(&received, held + 1, file))
        ++held;
    const bool refused = held < LastRecord(file) && received.refusedRecord == held + 1;
    if (held < LastRecord(file) && !refused)
        return false;
    file.records.reserve(held);
    for (unsigned number = 1; number <= held; ++number)
        TakeRecord(&received, number, file);
    if (refused)
        Finish(sc::Unexpected, file);
    else
        file.state = FileState::Read;
    return true;
}

// Starts `file` afresh, enters `directory` and selects the file in it, and
// takes the file's size from its header. False when the file cannot be read:
// its state is set, and `error` is the transport error that stopped it or 0.
bool OpenFile(CardWalk& walk, uint16_t directory, uint16_t fileId, std::vector<uint8_t>& header,
              RawCardFile& file, LONG& error)
{
    file = RawCardFile{};
    file.fileId = fileId;
    error = sc::Success;
    FileState stateOnFailure = FileState::Refused;
    LONG result = walk.Enter(directory, stateOnFailure);
    if (result == sc::Success) {
        result = walk.Reader().SelectFile(fileId, header);
        stateOnFailure = StateOfFailedSelect(result, walk.Reader().LastSelectStatus());
    }
    if (result != sc::Success) {
        error = Settle(result, file, stateOnFailure);
        return false;
    }
    return TakeSize(header, file);
}

} // namespace

LONG CardWalk::Enter(uint16_t directory, FileState& stateOnFailure)
{
    if (m_current == directory)
        return sc::Success;
    if (!m_current) {
        const LONG result = Select(simfile::Mf, stateOnFailure);
        if (result != sc::Success || directory == simfile::Mf)
            return result;
    }
    return Select(directory, stateOnFailure);
}

LONG CardWalk::Select(uint16_t directory, FileState& stateOnFailure)
{
    const auto failed = m_failed.find(directory);
    if (failed != m_failed.end()) {
        stateOnFailure = failed->second.second;
        return failed->second.first;
    }
    const LONG result = m_reader.SelectFile(directory);
    if (result == sc::Success) {
        m_current = directory;
        return result;
    }
    // The card stays where it was; the files under the directory share its state.
    stateOnFailure = StateOfFailedSelect(result, m_reader.LastSelectStatus());
    m_failed[directory] = {result, stateOnFailure};
    return result;
}

LONG ReadRawRecordFile(CardWalk& walk, uint16_t directory, uint16_t fileId, uint8_t minimumRecordLength,
                       ReceivedFile* received, RawCardFile& file)
{
    file = RawCardFile{};
    file.fileId = fileId;
    if (received != nullptr && TakeReceived(*received, minimumRecordLength, file))
        return sc::Success;

    std::vector<uint8_t> header;
    LONG result = sc::Success;
    if (!OpenFile(walk, directory, fileId, header, file, result) ||
        !TakeRecordGeometry(header, minimumRecordLength, file))
        return result;
    const auto keep = [&file](const uint8_t* data, size_t length) { file.records.emplace_back(data, data + length); };
    for (unsigned number = 1; number <= LastRecord(file) && result == sc::Success; ++number) {
        if (!TakeRecord(received, number, file))
            result = card_detail::ReadRecord(walk.Reader(), static_cast<uint8_t>(number), file.recordLength, keep);
    }
    return Finish(result, file);
}

LONG ReadRawTransparentFile(CardWalk& walk, uint16_t directory, uint16_t fileId, RawCardFile& file)
{
    std::vector<uint8_t> header;
    LONG result = sc::Success;
    if (!OpenFile(walk, directory, fileId, header, file, result))
        return result;
    if (header[StructureByte] != TransparentStructure) {
        file.state = FileState::Unusable;
        return sc::Success;
    }
    const unsigned length = std::min<unsigned>(file.fileSize, MaxReadLength);
    std::vector<uint8_t> data(length);
    result = length == 0 ? sc::Success : walk.Reader().ReadBinary(length, data.data());
    if (result == sc::Success)
        file.records.push_back(std::move(data));
    return Finish(result, file);
}
