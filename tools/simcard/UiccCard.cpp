#include "UiccCard.h"

#include <algorithm>
#include <optional>
#include "sim/Instructions.h"

namespace simcard {
namespace {

constexpr size_t HeaderLength = 5;
constexpr uint16_t MfId = 0x3F00;
constexpr uint16_t CurrentApplicationId = 0x7FFF;

// Status words of a UICC.
namespace usw {
constexpr uint16_t Ok = 0x9000;
constexpr uint8_t ResponseWaiting = 0x61; // 61 xx: xx bytes for GET RESPONSE
constexpr uint8_t TriesLeft = 0x63;       // 63 CX: X tries left
constexpr uint16_t WrongLength = 0x6700;
constexpr uint16_t IncompatibleStructure = 0x6981;
constexpr uint16_t SecurityNotSatisfied = 0x6982;
constexpr uint16_t Blocked = 0x6983;
constexpr uint16_t Deactivated = 0x6984;
constexpr uint16_t ConditionsOfUse = 0x6985;
constexpr uint16_t NoCurrentEf = 0x6986;
constexpr uint16_t FileNotFound = 0x6A82;
constexpr uint16_t RecordNotFound = 0x6A83;
constexpr uint16_t WrongP1P2 = 0x6A86;
constexpr uint16_t ReferenceNotFound = 0x6A88;
constexpr uint16_t OutsideFile = 0x6B00;
constexpr uint8_t ExactLength = 0x6C;     // 6C xx: resend with Le xx
constexpr uint16_t UnknownInstruction = 0x6D00;
constexpr uint16_t WrongClass = 0x6E00;
} // namespace usw

// Toolkit and session commands a reader never sends: refused and counted
// with the writes (TERMINAL PROFILE, FETCH, TERMINAL RESPONSE, ENVELOPE).
bool IsToolkitInstruction(uint8_t ins) { return ins == 0x10 || ins == 0x12 || ins == 0x14 || ins == 0xC2; }

std::vector<uint8_t> Word(uint16_t statusWord)
{
    return {static_cast<uint8_t>(statusWord >> 8), static_cast<uint8_t>(statusWord & 0xFF)};
}

std::vector<uint8_t> Word(uint8_t sw1, size_t sw2) { return {sw1, static_cast<uint8_t>(sw2 > 0xFF ? 0 : sw2)}; }

std::vector<uint8_t> WithOk(std::vector<uint8_t> data)
{
    data.push_back(0x90);
    data.push_back(0x00);
    return data;
}

// Le of an outgoing-data command: 00 (or none) asks for 256 bytes.
size_t Expected(uint8_t le) { return le == 0 ? 256 : le; }

// The record a READ RECORD names (mode 04 absolute, P1 0 the current one;
// 02 next, 03 previous with P1 0); nothing for a mode or P1 it cannot have.
std::optional<unsigned> NamedRecord(uint8_t p1, uint8_t mode, unsigned current, unsigned count)
{
    switch (mode) {
    case 0x04:
        return p1 == 0 ? current : p1;
    case 0x02:
        return p1 != 0 ? std::nullopt : std::optional<unsigned>(current == 0 ? 1 : current + 1);
    case 0x03:
        return p1 != 0 ? std::nullopt : std::optional<unsigned>(current == 0 ? count : current - 1);
    default:
        return std::nullopt;
    }
}

std::string PathKey(const std::vector<std::string>& path, size_t components)
{
    std::string key;
    for (size_t i = 0; i < components && i < path.size(); ++i)
        key += path[i] + "/";
    return key;
}

} // namespace

// A command split into header and body. `data` is what followed P3.
struct UiccCard::Apdu {
    uint8_t cla = 0, ins = 0, p1 = 0, p2 = 0, p3 = 0;
    bool hasP3 = false;
    std::vector<uint8_t> data;

    // The Lc bytes of a command that sends data; a T=0 reader may leave one
    // trailing Le byte, which the transport would drop.
    bool TakeData(std::vector<uint8_t>& out) const
    {
        if (!hasP3 || (data.size() != p3 && data.size() != size_t{p3} + 1))
            return false;
        out.assign(data.begin(), data.begin() + p3);
        return true;
    }
};

UiccCard::UiccCard(const UiccProfile& profile, Chv& pin1, Chv& pin2, CommandCounts& counts)
    : m_pin1(pin1),
      m_pin2(pin2),
      m_puk1AttemptsLeft(std::min<uint8_t>(profile.puk1AttemptsLeft, 0x0F)),
      m_puk2AttemptsLeft(std::min<uint8_t>(profile.puk2AttemptsLeft, 0x0F)),
      m_counts(counts)
{
    const PinStates pins{pin1.Enabled(), pin2.Enabled()};
    std::map<std::string, UiccFile*> byPath;
    for (const UiccFileProfile& file : profile.files) {
        if (file.path.size() == 1 && file.path[0] == "3F00" && !m_mf) {
            m_mf = std::make_unique<UiccFile>(file, true, pins);
            byPath[PathKey(file.path, 1)] = m_mf.get();
        }
    }
    if (!m_mf) {
        UiccFileProfile mf;
        mf.path = {"3F00"};
        mf.type = UiccFileType::Directory;
        mf.fid = MfId;
        m_mf = std::make_unique<UiccFile>(mf, true, pins);
        byPath["3F00/"] = m_mf.get();
    }
    // Every other file under its parent; one whose parent is missing or
    // not a directory, or whose path is taken already, is left out.
    for (const UiccFileProfile& file : profile.files) {
        if (file.path.size() < 2)
            continue;
        const auto parent = byPath.find(PathKey(file.path, file.path.size() - 1));
        const std::string key = PathKey(file.path, file.path.size());
        if (parent == byPath.end() || !parent->second->IsDirectory() || byPath.count(key))
            continue;
        UiccFile* added = parent->second->Add(std::make_unique<UiccFile>(file, false, pins));
        byPath[key] = added;
        if (added->IsApplication())
            m_applications.push_back(added);
    }
    Reset();
}

void UiccCard::Reset()
{
    m_currentDirectory = m_mf.get();
    m_currentEf = nullptr;
    m_currentApplication = nullptr;
    m_currentRecord = 0;
    m_pendingResponse.clear();
}

std::vector<uint8_t> UiccCard::Transmit(const uint8_t* bytes, size_t length)
{
    if (length < 4)
        return Word(usw::WrongLength);
    Apdu apdu;
    apdu.cla = bytes[0];
    apdu.ins = bytes[1];
    apdu.p1 = bytes[2];
    apdu.p2 = bytes[3];
    apdu.hasP3 = length >= HeaderLength;
    apdu.p3 = apdu.hasP3 ? bytes[4] : 0;
    if (length > HeaderLength)
        apdu.data.assign(bytes + HeaderLength, bytes + length);
    if (apdu.ins != InsGetResponse)
        m_pendingResponse.clear();
    return Dispatch(apdu);
}

std::vector<uint8_t> UiccCard::Dispatch(const Apdu& apdu)
{
    const bool withoutData = apdu.data.empty() && apdu.p3 == 0;
    if (apdu.ins == InsUnblock && withoutData && (apdu.cla & 0xF0) == 0x00)
        return UnblockStatus(apdu);
    if (IsWriteInstruction(apdu.ins) || IsToolkitInstruction(apdu.ins)) {
        ++m_counts.writes;
        return Word(usw::SecurityNotSatisfied);
    }
    // Only the basic channel; STATUS is the one class 80 command served.
    const bool statusClass = apdu.cla == 0x80;
    if (apdu.cla != 0x00 && !statusClass)
        return Word(usw::WrongClass);
    if (apdu.ins == InsStatus)
        return statusClass ? Status(apdu) : Word(usw::WrongClass);
    if (statusClass)
        return Word(usw::UnknownInstruction);
    switch (apdu.ins) {
    case InsSelect:
        return Select(apdu);
    case InsGetResponse:
        return GetResponse(apdu);
    case InsReadBinary:
        return ReadBinary(apdu);
    case InsReadRecord:
        return ReadRecord(apdu);
    case InsVerify:
        return Verify(apdu);
    default:
        return Word(usw::UnknownInstruction);
    }
}

// By file id: the MF, the current application (7FFF), the current
// directory, its children, its parent and the parent's other directories.
const UiccFile* UiccCard::SelectById(uint16_t fid) const
{
    if (fid == MfId)
        return m_mf.get();
    if (fid == CurrentApplicationId)
        return m_currentApplication;
    const UiccFile* current = m_currentDirectory;
    if (current->Profile().fid == fid)
        return current;
    if (const UiccFile* child = current->Child(fid))
        return child;
    const UiccFile* parent = current->Parent();
    if (parent == nullptr)
        return nullptr;
    if (parent->Profile().fid == fid)
        return parent;
    return parent->ChildDirectory(fid);
}

// A path of file ids from `start`: each one a child of the one before; 7FFF
// first stands for the current application.
const UiccFile* UiccCard::SelectByPath(const std::vector<uint8_t>& path, const UiccFile* start) const
{
    const UiccFile* file = start;
    for (size_t i = 0; file != nullptr && i < path.size(); i += 2) {
        const uint16_t fid = static_cast<uint16_t>(path[i] << 8 | path[i + 1]);
        if (i == 0 && fid == CurrentApplicationId && start == m_mf.get())
            file = m_currentApplication;
        else
            file = file->IsDirectory() ? file->Child(fid) : nullptr;
    }
    return file;
}

// The first application whose AID starts with `aid` (a whole or a partial AID).
const UiccFile* UiccCard::ApplicationByAid(const std::vector<uint8_t>& aid) const
{
    for (const UiccFile* application : m_applications) {
        const std::vector<uint8_t>& full = application->Profile().aid;
        if (aid.size() <= full.size() && std::equal(aid.begin(), aid.end(), full.begin()))
            return application;
    }
    return nullptr;
}

void UiccCard::MakeCurrent(const UiccFile& file)
{
    m_currentRecord = 0;
    if (file.IsDirectory()) {
        m_currentDirectory = &file;
        m_currentEf = nullptr;
        if (file.IsApplication())
            m_currentApplication = &file;
    } else {
        m_currentDirectory = file.Parent();
        m_currentEf = &file;
    }
}

// T=0: the answer waits for GET RESPONSE.
std::vector<uint8_t> UiccCard::Respond(const std::vector<uint8_t>& data)
{
    m_pendingResponse = data;
    return Word(usw::ResponseWaiting, data.size());
}

std::vector<uint8_t> UiccCard::Select(const Apdu& apdu)
{
    if (apdu.p2 != 0x04 && apdu.p2 != 0x0C)
        return Word(usw::WrongP1P2);
    std::vector<uint8_t> data;
    if (!apdu.TakeData(data) && !(apdu.p1 == 0x03 && !apdu.hasP3))
        return Word(usw::WrongLength);
    const UiccFile* file = nullptr;
    switch (apdu.p1) {
    case 0x00:
    case 0x01:
        if (data.size() != 2)
            return Word(usw::WrongLength);
        file = apdu.p1 == 0x00 ? SelectById(static_cast<uint16_t>(data[0] << 8 | data[1]))
                               : m_currentDirectory->ChildDirectory(static_cast<uint16_t>(data[0] << 8 | data[1]));
        break;
    case 0x03:
        if (!data.empty())
            return Word(usw::WrongLength);
        file = m_currentDirectory->Parent();
        break;
    case 0x04:
        if (data.empty() || data.size() > 16)
            return Word(usw::WrongLength);
        file = ApplicationByAid(data);
        break;
    case 0x08:
    case 0x09:
        if (data.empty() || data.size() % 2 != 0)
            return Word(usw::WrongLength);
        file = SelectByPath(data, apdu.p1 == 0x08 ? m_mf.get() : m_currentDirectory);
        break;
    default:
        return Word(usw::WrongP1P2);
    }
    if (file == nullptr)
        return Word(usw::FileNotFound);
    MakeCurrent(*file);
    return apdu.p2 == 0x0C ? Word(usw::Ok) : Respond(file->Fcp());
}

std::vector<uint8_t> UiccCard::GetResponse(const Apdu& apdu)
{
    if (apdu.p1 != 0 || apdu.p2 != 0)
        return Word(usw::WrongP1P2);
    if (!apdu.data.empty())
        return Word(usw::WrongLength);
    if (m_pendingResponse.empty())
        return Word(usw::ConditionsOfUse);
    const size_t wanted = Expected(apdu.p3);
    if (wanted > m_pendingResponse.size())
        return Word(usw::ExactLength, m_pendingResponse.size());
    std::vector<uint8_t> data(m_pendingResponse.begin(), m_pendingResponse.begin() + static_cast<std::ptrdiff_t>(wanted));
    m_pendingResponse.erase(m_pendingResponse.begin(), m_pendingResponse.begin() + static_cast<std::ptrdiff_t>(wanted));
    if (m_pendingResponse.empty())
        return WithOk(std::move(data));
    const size_t left = m_pendingResponse.size();
    data.push_back(usw::ResponseWaiting);
    data.push_back(static_cast<uint8_t>(left > 0xFF ? 0 : left));
    return data;
}

// P2 00: the FCP of the current directory or application; 01: its AID;
// 0C: nothing. The data comes at once, Le its exact length (else 6C xx).
std::vector<uint8_t> UiccCard::Status(const Apdu& apdu)
{
    if (apdu.p1 > 0x02)
        return Word(usw::WrongP1P2);
    if (!apdu.data.empty())
        return Word(usw::WrongLength);
    std::vector<uint8_t> data;
    switch (apdu.p2) {
    case 0x00:
        data = m_currentDirectory->Fcp();
        break;
    case 0x01: {
        if (m_currentApplication == nullptr)
            return Word(usw::ConditionsOfUse);
        const std::vector<uint8_t>& aid = m_currentApplication->Profile().aid;
        data = {0x84, static_cast<uint8_t>(aid.size())};
        data.insert(data.end(), aid.begin(), aid.end());
        break;
    }
    case 0x0C:
        return Word(usw::Ok);
    default:
        return Word(usw::WrongP1P2);
    }
    if (Expected(apdu.p3) != data.size())
        return Word(usw::ExactLength, data.size());
    return WithOk(std::move(data));
}

bool UiccCard::ReadAllowed(const UiccFile& file) const
{
    switch (file.Profile().read) {
    case UiccAccess::Always:
        return true;
    case UiccAccess::Pin1:
        return m_pin1.Satisfied();
    case UiccAccess::Pin2:
        return m_pin2.Satisfied();
    case UiccAccess::Never:
        break;
    }
    return false;
}

// The status word that refuses a read of `file`, or Ok.
uint16_t UiccCard::ReadRefusal(const UiccFile& file) const
{
    if (file.Profile().deactivated)
        return usw::Deactivated;
    return ReadAllowed(file) ? usw::Ok : usw::SecurityNotSatisfied;
}

std::vector<uint8_t> UiccCard::ReadBinary(const Apdu& apdu)
{
    if (!apdu.data.empty())
        return Word(usw::WrongLength);
    const UiccFile* file = m_currentEf;
    unsigned offset = unsigned{apdu.p1} << 8 | apdu.p2;
    if (apdu.p1 & 0x80) { // P1 100x xxxx: the EF of this SFI, offset P2
        if (apdu.p1 & 0x60)
            return Word(usw::WrongP1P2);
        file = m_currentDirectory->ChildBySfi(apdu.p1 & 0x1F);
        if (file == nullptr)
            return Word(usw::FileNotFound);
        MakeCurrent(*file);
        offset = apdu.p2;
    }
    if (file == nullptr)
        return Word(usw::NoCurrentEf);
    if (file->Type() != UiccFileType::Transparent)
        return Word(usw::IncompatibleStructure);
    if (const uint16_t refusal = ReadRefusal(*file); refusal != usw::Ok)
        return Word(refusal);
    const std::vector<uint8_t>& content = file->Profile().data;
    if (offset >= content.size())
        return Word(usw::OutsideFile);
    const size_t left = content.size() - offset;
    const size_t wanted = Expected(apdu.p3);
    if (wanted > left)
        return Word(usw::ExactLength, left);
    const auto begin = content.begin() + static_cast<std::ptrdiff_t>(offset);
    return WithOk(std::vector<uint8_t>(begin, begin + static_cast<std::ptrdiff_t>(wanted)));
}

std::vector<uint8_t> UiccCard::ReadRecord(const Apdu& apdu)
{
    if (!apdu.data.empty())
        return Word(usw::WrongLength);
    const UiccFile* file = m_currentEf;
    const uint8_t sfi = apdu.p2 >> 3;
    if (sfi == 0x1F)
        return Word(usw::WrongP1P2);
    if (sfi != 0) {
        file = m_currentDirectory->ChildBySfi(sfi);
        if (file == nullptr)
            return Word(usw::FileNotFound);
        if (file != m_currentEf) // the current record stays while the EF does
            MakeCurrent(*file);
    }
    if (file == nullptr)
        return Word(usw::NoCurrentEf);
    if (!file->HasRecords())
        return Word(usw::IncompatibleStructure);
    const unsigned count = file->Profile().recordCount;
    const std::optional<unsigned> named = NamedRecord(apdu.p1, apdu.p2 & 0x07, m_currentRecord, count);
    if (!named)
        return Word(usw::WrongP1P2);
    if (const uint16_t refusal = ReadRefusal(*file); refusal != usw::Ok)
        return Word(refusal);
    if (*named == 0 || *named > count)
        return Word(usw::RecordNotFound);
    const unsigned length = file->Profile().recordLength;
    if (Expected(apdu.p3) != length)
        return Word(usw::ExactLength, length);
    m_currentRecord = *named;
    return WithOk(file->Record(*named));
}

// PIN1 (01) is global; PIN2 (81) belongs to the application and needs one
// selected. Other references (ADM, the universal PIN) are not on this card.
Chv* UiccCard::PinOf(uint8_t keyReference)
{
    Chv* pin = keyReference == 0x01                                           ? &m_pin1
               : keyReference == 0x81 && m_currentApplication != nullptr ? &m_pin2
                                                                             : nullptr;
    return pin != nullptr && pin->Present() ? pin : nullptr;
}

// Without data: the tries left, nothing spent. With the 8 bytes of a PIN:
// 63 CX after a wrong one (X left), 69 83 once blocked, 69 85 for a
// disabled PIN.
std::vector<uint8_t> UiccCard::Verify(const Apdu& apdu)
{
    if (apdu.p1 != 0)
        return Word(usw::WrongP1P2);
    Chv* pin = PinOf(apdu.p2);
    if (pin == nullptr)
        return Word(usw::ReferenceNotFound);
    if (apdu.data.empty() && apdu.p3 == 0)
        return pin->Blocked() ? Word(usw::Blocked) : Word(usw::TriesLeft, 0xC0u | pin->AttemptsLeft());
    std::vector<uint8_t> code;
    if (!apdu.TakeData(code) || code.size() != 8)
        return Word(usw::WrongLength);
    if (!pin->Enabled())
        return Word(usw::ConditionsOfUse);
    const bool wasBlocked = pin->Blocked();
    if (pin->Verify(code.data()) == 0x9000)
        return Word(usw::Ok);
    if (wasBlocked)
        return Word(usw::Blocked);
    return Word(usw::TriesLeft, 0xC0u | pin->AttemptsLeft());
}

// UNBLOCK PIN without data: the tries left of the PUK, nothing spent.
std::vector<uint8_t> UiccCard::UnblockStatus(const Apdu& apdu)
{
    if (apdu.p1 != 0)
        return Word(usw::WrongP1P2);
    if (PinOf(apdu.p2) == nullptr)
        return Word(usw::ReferenceNotFound);
    const uint8_t left = apdu.p2 == 0x01 ? m_puk1AttemptsLeft : m_puk2AttemptsLeft;
    return left == 0 ? Word(usw::Blocked) : Word(usw::TriesLeft, 0xC0u | left);
}

} // namespace simcard
