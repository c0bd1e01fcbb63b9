#include "ReceivedFiles.h"

#include "ReceiveRoom.h"
#include "StatusWords.h"
#include "sim/Instructions.h"
#include "sim/SimFiles.h"

namespace {

constexpr uint8_t AbsoluteMode = 0x04;
constexpr uint8_t GsmClass = 0xA0;
constexpr uint8_t Chv1 = 0x01;
constexpr size_t PinLength = 8;

using card_detail::EndsWithOk;
using card_detail::Sw1ResponseWaiting;

} // namespace

void ReceivedFiles::OnCommand(const uint8_t* command, size_t length)
{
    m_pending = Pending::None;
    if (length < 5)
        return;
    if (command[0] != GsmClass) {
        // The UICC's command set: none of the GSM read's files, and the card
        // may stand anywhere after it.
        m_directory.reset();
        m_selectedFile.reset();
        return;
    }
    switch (command[1]) {
    case InsSelect:
        if (length == 7) {
            m_pending = Pending::Select;
            m_selecting = static_cast<uint16_t>(command[5] << 8 | command[6]);
        }
        break;
    case InsGetResponse:
        m_pending = Pending::GetResponse;
        break;
    case InsReadRecord:
        if (length == 5 && command[3] == AbsoluteMode) {
            m_pending = Pending::ReadRecord;
            m_recordNumber = command[2];
            m_recordLength = command[4];
            m_commandRoom = card_detail::ReceiveRoomFor(command, length);
        }
        break;
    case InsVerify:
        m_pending = Pending::Verify;
        m_verifying.clear();
        if (command[3] == Chv1 && length == 5 + PinLength && command[4] == PinLength)
            m_verifying.assign(command + 5, command + length);
        break;
    default:
        break;
    }
}

void ReceivedFiles::OnResponse(LONG result, const uint8_t* response, size_t length)
{
    const Pending pending = m_pending;
    m_pending = Pending::None;
    const std::optional<FileKey> headerFor = m_headerFor;
    m_headerFor.reset();
    if (result != 0) {
        // A SELECT that failed on the way may or may not have moved the
        // card: where it stands is no longer known.
        if (pending == Pending::Select || pending == Pending::None) {
            m_directory.reset();
            m_selectedFile.reset();
        }
        return;
    }
    switch (pending) {
    case Pending::Select:
        SelectAnswered(response, length);
        break;
    case Pending::GetResponse:
        if (headerFor && length == simfile::HeaderLength + 2 && EndsWithOk(response, length))
            m_files[*headerFor].header.assign(response, response + simfile::HeaderLength);
        break;
    case Pending::ReadRecord:
        if (!m_selectedFile)
            break;
        if (length <= m_commandRoom && EndsWithOk(response, length)) {
            m_files[*m_selectedFile].records[m_recordNumber] = {m_recordLength,
                                                                 std::vector<uint8_t>(response, response + length - 2)};
        } else {
            unsigned& refused = m_files[*m_selectedFile].refusedRecord;
            if (refused == 0)
                refused = m_recordNumber;
        }
        break;
    case Pending::Verify:
        // The access conditions may allow now what was refused before.
        if (EndsWithOk(response, length)) {
            for (auto& file : m_files)
                file.second.refusedRecord = 0;
            if (!m_verifying.empty())
                m_acceptedPin1 = m_verifying;
        }
        break;
    case Pending::None:
        break;
    }
}

void ReceivedFiles::SelectAnswered(const uint8_t* response, size_t length)
{
    const bool found = length == 2 && response[0] == Sw1ResponseWaiting;
    if (simfile::IsDirectoryId(m_selecting)) {
        if (found) {
            m_directory = m_selecting;
            m_selectedFile.reset();
        }
        return;
    }
    if (!m_directory) {
        m_selectedFile.reset();
        return;
    }
    const FileKey key{*m_directory, m_selecting};
    ReceivedFile& file = m_files[key];
    if (found) {
        file.failedSelectStatus = 0;
        m_selectedFile = key;
        m_headerFor = key;
    } else {
        file.failedSelectStatus = length == 2 ? static_cast<uint16_t>(response[0] << 8 | response[1]) : 0;
        m_selectedFile.reset();
    }
}

const ReceivedFile* ReceivedFiles::Find(uint16_t directory, uint16_t fileId) const
{
    const auto found = m_files.find({directory, fileId});
    return found == m_files.end() ? nullptr : &found->second;
}

ReceivedFile* ReceivedFiles::Find(uint16_t directory, uint16_t fileId)
{
    return const_cast<ReceivedFile*>(std::as_const(*this).Find(directory, fileId));
}
