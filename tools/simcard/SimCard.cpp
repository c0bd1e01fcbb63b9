#include "SimCard.h"

#include <optional>

#include "FileResponses.h"
#include "StatusWords.h"
#include "sim/Instructions.h"
#include "sim/SimFiles.h"

namespace simcard {
namespace {

constexpr uint8_t GsmClass = 0xA0;
// READ RECORD modes (P2).
constexpr uint8_t NextMode = 0x02;
constexpr uint8_t PreviousMode = 0x03;
constexpr uint8_t AbsoluteMode = 0x04; // P1 0: the current record
constexpr size_t HeaderLength = 5;

std::vector<uint8_t> Word(uint16_t statusWord)
{
    return {static_cast<uint8_t>(statusWord >> 8), static_cast<uint8_t>(statusWord & 0xFF)};
}

std::vector<uint8_t> Word(uint8_t sw1, size_t sw2)
{
    return {sw1, static_cast<uint8_t>(sw2 > 0xFF ? 0 : sw2)};
}

std::vector<uint8_t> WithOk(std::vector<uint8_t> data)
{
    data.push_back(0x90);
    data.push_back(0x00);
    return data;
}

// P3 of an outgoing-data command: 0 asks for 256 bytes.
size_t ExpectedLength(uint8_t p3) { return p3 == 0 ? 256 : p3; }

// The record a READ RECORD names, from the current record (0: none) of a
// linear-fixed file of `count` records: next (P1 00) and previous (P1 00)
// start at the first and the last record when there is no current one;
// absolute names record P1, or the current one when P1 is 0. 0 or more
// than `count`: no such record. Nothing for a mode or P1 the command cannot
// have.
std::optional<unsigned> NamedRecord(uint8_t p1, uint8_t p2, unsigned current, unsigned count)
{
    switch (p2) {
    case AbsoluteMode:
        return p1 == 0 ? current : p1;
    case NextMode:
        if (p1 != 0)
            return std::nullopt;
        return current == 0 ? 1 : current + 1;
    case PreviousMode:
        if (p1 != 0)
            return std::nullopt;
        return current == 0 ? count : current - 1;
    default:
        return std::nullopt;
    }
}

} // namespace

// A command split into header and data; `data` holds what followed the header.
struct SimCard::Command {
    uint8_t cla = 0, ins = 0, p1 = 0, p2 = 0, p3 = 0;
    std::vector<uint8_t> data;

    // Checks the data of a command that sends `expected` bytes. A T=0 reader
    // may leave a trailing Le byte on such a command; it is dropped, as the
    // T=0 transport would never pass it to the card.
    bool TakeData(size_t expected, std::vector<uint8_t>& error)
    {
        if (p3 != expected) {
            error = Word(sw::WrongLength, expected);
            return false;
        }
        if (data.size() == expected + 1)
            data.pop_back();
        if (data.size() != expected) {
            error = Word(sw::WrongLength, 0);
            return false;
        }
        return true;
    }
};

std::vector<uint8_t> DefaultAtr()
{
    // TS direct convention; T0: TA1 and TB1 follow, 11 historical bytes;
    // TA1 Fi 512 / Di 8; TB1 no programming voltage. No TD1: T=0 only.
    return {0x3B, 0x3B, 0x94, 0x00, 'V', 'E', 'L', 'M', 'O', 'R', 'A', ' ', 'S', 'I', 'M'};
}

SimCard::SimCard(const CardProfile& profile)
    : m_mf(SimFile::Directory(simfile::Mf, FileKind::Master)),
      m_atr(profile.atr.empty() ? DefaultAtr() : profile.atr),
      m_chv1(profile.chv1),
      m_chv2(profile.chv2),
      m_gsmDataLength(profile.gsmDataLength)
{
    if (profile.iccid)
        m_mf->Add(SimFile::Transparent(simfile::EfIccid, *profile.iccid));
    if (profile.hasDfGsm) {
        SimFile* gsm = m_mf->Add(SimFile::Directory(simfile::DfGsm, FileKind::Dedicated));
        if (profile.imsi)
            gsm->Add(SimFile::Transparent(simfile::EfImsi, *profile.imsi));
        if (profile.spn)
            gsm->Add(SimFile::Transparent(simfile::EfSpn, *profile.spn));
    }
    if (profile.hasDfTelecom) {
        SimFile* telecom = m_mf->Add(SimFile::Directory(simfile::DfTelecom, FileKind::Dedicated));
        if (profile.adn)
            telecom->Add(SimFile::LinearFixed(simfile::EfAdn, *profile.adn));
        if (profile.fdn)
            telecom->Add(SimFile::LinearFixed(simfile::EfFdn, *profile.fdn));
        if (profile.sms)
            telecom->Add(SimFile::LinearFixed(simfile::EfSms, *profile.sms));
        for (const auto& [id, file] : profile.telecomRecordFiles)
            telecom->Add(SimFile::LinearFixed(id, file));
    }
    m_currentDirectory = m_mf.get();
    if (profile.uicc) {
        m_uicc = std::make_unique<UiccCard>(*profile.uicc, m_chv1, m_chv2, m_counts);
        m_answersGsm = profile.uicc->answersGsm;
    }
}

void SimCard::Reset()
{
    ++m_counts.resets;
    m_chv1.ForgetVerification();
    m_chv2.ForgetVerification();
    m_currentDirectory = m_mf.get();
    m_currentEf = nullptr;
    m_currentRecord = 0;
    m_pendingResponse.clear();
    m_responsePending = false;
    if (m_uicc)
        m_uicc->Reset();
}

std::vector<uint8_t> SimCard::Transmit(const std::vector<uint8_t>& command)
{
    return Transmit(command.data(), command.size());
}

std::vector<uint8_t> SimCard::Transmit(const uint8_t* bytes, size_t length)
{
    ++m_counts.commands;
    if (length < 4)
        return Word(sw::WrongLength, 0);

    Command command;
    command.cla = bytes[0];
    command.ins = bytes[1];
    command.p1 = bytes[2];
    command.p2 = bytes[3];
    command.p3 = length >= HeaderLength ? bytes[4] : 0;
    if (length > HeaderLength)
        command.data.assign(bytes + HeaderLength, bytes + length);
    ++m_counts.byInstruction[command.ins];

    if (command.ins != InsGetResponse) {
        m_responsePending = false;
        m_pendingResponse.clear();
    }
    if (m_uicc && command.cla != GsmClass)
        return m_uicc->Transmit(bytes, length);
    if (!m_answersGsm) {
        m_counts.writes += IsWriteInstruction(command.ins);
        return Word(sw::WrongClass);
    }
    return Dispatch(command);
}

std::vector<uint8_t> SimCard::Dispatch(const Command& command)
{
    if (IsWriteInstruction(command.ins)) {
        ++m_counts.writes;
        return Word(command.cla == GsmClass ? sw::AccessDenied : sw::WrongClass);
    }
    if (command.cla != GsmClass)
        return Word(sw::WrongClass);
    switch (command.ins) {
    case InsSelect:
        return Select(command);
    case InsGetResponse:
        return GetResponse(command);
    case InsStatus:
        return Status(command);
    case InsReadBinary:
        return ReadBinary(command);
    case InsReadRecord:
        return ReadRecord(command);
    case InsVerify:
        return VerifyChv(command);
    default:
        return Word(sw::UnknownInstruction);
    }
}

// Selectable from the current directory: the MF, the current directory, its
// children, its parent and the parent's other directories.
const SimFile* SimCard::FindSelectable(uint16_t id) const
{
    const SimFile* current = m_currentDirectory;
    if (id == m_mf->Id())
        return m_mf.get();
    if (id == current->Id())
        return current;
    if (const SimFile* child = current->Child(id))
        return child;
    const SimFile* parent = current->Parent();
    if (parent == nullptr)
        return nullptr;
    if (id == parent->Id())
        return parent;
    const SimFile* sibling = parent->Child(id);
    return sibling != nullptr && sibling->IsDirectory() ? sibling : nullptr;
}

std::vector<uint8_t> SimCard::DirectoryResponseOf(const SimFile& directory) const
{
    return DirectoryResponse(directory, m_chv1, m_chv2, m_gsmDataLength);
}

std::vector<uint8_t> SimCard::Select(const Command& command)
{
    Command select = command;
    std::vector<uint8_t> error;
    if (select.p1 != 0 || select.p2 != 0)
        return Word(sw::WrongP1P2);
    if (!select.TakeData(2, error))
        return error;
    const uint16_t id = static_cast<uint16_t>(select.data[0] << 8 | select.data[1]);
    const SimFile* file = FindSelectable(id);
    if (file == nullptr)
        return Word(sw::FileNotFound);

    m_currentRecord = 0;
    if (file->IsDirectory()) {
        m_currentDirectory = file;
        m_currentEf = nullptr;
        m_pendingResponse = DirectoryResponseOf(*file);
    } else {
        m_currentDirectory = file->Parent();
        m_currentEf = file;
        m_pendingResponse = EfResponse(*file);
    }
    m_responsePending = true;
    return Word(sw::ResponseLength, m_pendingResponse.size());
}

std::vector<uint8_t> SimCard::GetResponse(const Command& command)
{
    if (command.p1 != 0 || command.p2 != 0)
        return Word(sw::WrongP1P2);
    if (!command.data.empty())
        return Word(sw::WrongLength, 0);
    if (!m_responsePending)
        return Word(sw::NoDiagnosis);
    const size_t wanted = ExpectedLength(command.p3);
    if (wanted > m_pendingResponse.size())
        return Word(sw::WrongLength, m_pendingResponse.size());
    return WithOk({m_pendingResponse.begin(), m_pendingResponse.begin() + static_cast<std::ptrdiff_t>(wanted)});
}

std::vector<uint8_t> SimCard::Status(const Command& command)
{
    if (command.p1 != 0 || command.p2 != 0)
        return Word(sw::WrongP1P2);
    if (!command.data.empty())
        return Word(sw::WrongLength, 0);
    std::vector<uint8_t> response = DirectoryResponseOf(*m_currentDirectory);
    const size_t wanted = ExpectedLength(command.p3);
    if (wanted > response.size())
        return Word(sw::WrongLength, response.size());
    response.resize(wanted);
    return WithOk(std::move(response));
}

bool SimCard::ReadAllowed(const SimFile& file) const
{
    switch (file.Access().read) {
    case access::Always:
        return true;
    case access::Chv1:
        return m_chv1.Satisfied();
    case access::Chv2:
        return m_chv2.Satisfied();
    default:
        return false; // ADM, reserved and NEV are never granted to a terminal
    }
}

std::vector<uint8_t> SimCard::ReadBinary(const Command& command)
{
    if (!command.data.empty())
        return Word(sw::WrongLength, 0);
    if (m_currentEf == nullptr)
        return Word(sw::NoEfSelected);
    const SimFile& file = *m_currentEf;
    if (file.Structure() != EfStructure::Transparent)
        return Word(sw::FileInconsistent);
    if (!ReadAllowed(file))
        return Word(sw::AccessDenied);
    const unsigned offset = unsigned{command.p1} << 8 | command.p2;
    const unsigned size = file.DeclaredSize();
    if (offset >= size)
        return Word(sw::OutOfRange);
    const size_t wanted = ExpectedLength(command.p3);
    if (wanted > size - offset)
        return Word(sw::WrongLength, size - offset);
    return WithOk(file.ReadData(offset, static_cast<unsigned>(wanted)));
}

std::vector<uint8_t> SimCard::ReadRecord(const Command& command)
{
    if (!command.data.empty())
        return Word(sw::WrongLength, 0);
    if (m_currentEf == nullptr)
        return Word(sw::NoEfSelected);
    const SimFile& file = *m_currentEf;
    if (file.Structure() != EfStructure::LinearFixed)
        return Word(sw::FileInconsistent);
    const std::optional<unsigned> named = NamedRecord(command.p1, command.p2, m_currentRecord, file.RecordCount());
    if (!named)
        return Word(sw::WrongP1P2);
    if (!ReadAllowed(file))
        return Word(sw::AccessDenied);
    // A record that does not exist leaves the current one as it was.
    const unsigned number = *named;
    if (number == 0 || number > file.RecordCount())
        return Word(sw::OutOfRange);
    if (ExpectedLength(command.p3) != file.RecordLength())
        return Word(sw::WrongLength, file.RecordLength());
    m_currentRecord = number;
    return WithOk(file.Record(number));
}

std::vector<uint8_t> SimCard::VerifyChv(const Command& command)
{
    Command verify = command;
    std::vector<uint8_t> error;
    if (verify.p1 != 0 || (verify.p2 != 1 && verify.p2 != 2))
        return Word(sw::WrongP1P2);
    if (!verify.TakeData(8, error))
        return error;
    Chv& chv = verify.p2 == 1 ? m_chv1 : m_chv2;
    return Word(chv.Verify(verify.data.data()));
}

} // namespace simcard
