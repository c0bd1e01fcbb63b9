#include "UiccReader.h"

#include <algorithm>

#include "UiccFileReader.h"
#include "UsimPhoneBookReader.h"
#include "sim/CardIdentity.h"
#include "sim/ResultCodes.h"
#include "sim/SimFiles.h"
#include "sim/dialling/DiallingRecord.h"
#include "sim/dialling/PhoneBookDecoder.h"
#include "sim/uicc/ApplicationDirectory.h"
#include "sim/uicc/FileControlParameters.h"
#include "sim/uicc/ServiceTable.h"

namespace {

constexpr uint16_t EfDir = 0x2F00;
constexpr uint16_t EfUst = 0x6F38;
constexpr uint16_t EfEst = 0x6F56;
constexpr uint16_t EfExt5 = 0x6F4E;
constexpr uint16_t DfPhoneBook = 0x5F3A;
constexpr uint8_t FcpTag = 0x62;

// EF_UST services that decide which files are read, and EF_EST's.
constexpr unsigned LocalPhoneBookService = 1;
constexpr unsigned FdnService = 2;
constexpr unsigned SdnService = 4;
constexpr unsigned SmsService = 10;
constexpr unsigned SpnService = 19;
constexpr unsigned MsisdnService = 21;
constexpr unsigned FdnEnabledService = 1;

constexpr unsigned ExtensionRecordLength = 13;
constexpr unsigned SmsMinimumRecordLength = 2;

bool IsFcp(const UiccAnswer& answer)
{
    return answer.Ok() && !answer.data.empty() && answer.data.front() == FcpTag;
}

// A dialling-number file of the ADF, the extension its numbers continue in.
struct AdfPhoneBook {
    uint16_t fileId;
    uint16_t extensionId;
    unsigned service;
    PhoneBook UiccContent::*book;
};

constexpr AdfPhoneBook AdfPhoneBooks[] = {
    {simfile::EfMsisdn, EfExt5, MsisdnService, &UiccContent::msisdn},
    {simfile::EfFdn, simfile::EfExt2, FdnService, &UiccContent::fdn},
    {simfile::EfSdn, simfile::EfExt3, SdnService, &UiccContent::sdn},
};

class UsimWalk {
public:
    UsimWalk(CCardReader& reader, UiccContent& content) : m_commands(reader), m_content(content) {}

    UiccCommands& Commands() { return m_commands; }

    // The MF is current: ICCID and EF_DIR.
    LONG ReadMasterFiles()
    {
        RawCardFile iccid;
        LONG result = ReadUiccFile(m_commands, simfile::EfIccid, 1, iccid, m_log);
        m_content.iccidState = iccid.state;
        if (!iccid.records.empty())
            m_content.iccid = IccIdText(iccid.records[0].data(), std::min<size_t>(iccid.records[0].size(), IccIdLength));
        if (result != sc::Success)
            return result;
        RawCardFile dir;
        result = ReadUiccFile(m_commands, EfDir, 1, dir, m_log);
        m_content.dirState = dir.state;
        for (size_t i = 0; i < dir.records.size(); ++i) {
            const ApplicationRecord record = DecodeApplicationRecord(dir.records[i].data(), dir.records[i].size());
            if (record.state == DirRecordState::Application)
                m_content.applications.push_back(
                    {static_cast<unsigned>(i + 1), record.aid, record.label, IsUsimAid(record.aid)});
        }
        return result;
    }

    // Selects the first USIM EF_DIR lists by its full AID; `pins` gets the
    // PIN status template of its FCP.
    LONG SelectUsim(std::optional<PinStatusTemplate>& pins)
    {
        const UiccApplication* usim = m_content.FirstUsim();
        if (!usim)
            return sc::Success;
        const UiccAnswer selected = m_commands.SelectByAid(usim->aid);
        m_content.usimSelected = selected.Ok();
        if (m_content.usimSelected)
            pins = DecodeFileControlParameters(selected.data.data(), selected.data.size()).pinStatus;
        else if (selected.result == sc::Success)
            m_log.refused.push_back({0, selected.statusWord});
        return selected.result;
    }

    // The ADF is current: its files, then its own phone book.
    LONG ReadAdfFiles()
    {
        LONG result = ReadImsi();
        if (result == sc::Success)
            result = ReadServiceTables();
        if (result == sc::Success && Offers(SpnService))
            result = ReadSpn();
        for (const AdfPhoneBook& file : AdfPhoneBooks)
            if (result == sc::Success && Offers(file.service))
                result = ReadPhoneBook(file);
        if (result == sc::Success && Offers(SmsService)) {
            RawCardFile sms;
            result = ReadUiccFile(m_commands, simfile::EfSms, SmsMinimumRecordLength, sms, m_log);
            m_content.sms = DecodeSmsFile(sms);
        }
        if (result == sc::Success && Offers(LocalPhoneBookService))
            result = ReadPhoneBookDf(m_commands.SelectById(DfPhoneBook), m_content.localPhoneBook);
        return result;
    }

    // DF_TELECOM/DF_PHONEBOOK, by its path from the MF; DF_TELECOM's EF_ADN
    // when the card has no EF_PBR there.
    LONG ReadGlobalPhoneBook()
    {
        UsimPhoneBookContent& book = m_content.globalPhoneBook;
        const LONG result = ReadPhoneBookDf(m_commands.SelectByPath({simfile::DfTelecom, DfPhoneBook}), book);
        if (result != sc::Success || (book.state != FileState::NotRead && book.state != FileState::Absent))
            return result;
        book = UsimPhoneBookContent{};
        return ReadTelecomPhoneBook(m_commands, book, m_log);
    }

    void Finish() { m_content.refused = m_log.refused; }

private:
    // A service the table offers, or any when the table could not be read.
    bool Offers(unsigned service) const { return !m_ust || HasService(m_ust->data(), m_ust->size(), service); }

    LONG ReadImsi()
    {
        RawCardFile imsi;
        const LONG result = ReadUiccFile(m_commands, simfile::EfImsi, 1, imsi, m_log);
        m_content.imsiState = imsi.state;
        if (!imsi.records.empty() && !imsi.records[0].empty()) {
            const std::vector<uint8_t>& bytes = imsi.records[0];
            m_content.imsi = ImsiText(bytes.data(), std::min<size_t>(bytes.size(), size_t{bytes[0]} + 1));
        }
        return result;
    }

    LONG ReadServiceTables()
    {
        RawCardFile ust;
        LONG result = ReadUiccFile(m_commands, EfUst, 1, ust, m_log);
        if (ust.state == FileState::Read && !ust.records.empty()) {
            m_ust = ust.records[0];
            m_content.localPhoneBookService = HasService(m_ust->data(), m_ust->size(), LocalPhoneBookService);
        }
        if (result != sc::Success || !Offers(FdnService))
            return result;
        RawCardFile est;
        result = ReadUiccFile(m_commands, EfEst, 1, est, m_log);
        if (est.state == FileState::Read && !est.records.empty())
            m_content.fdnEnabled = HasService(est.records[0].data(), est.records[0].size(), FdnEnabledService);
        return result;
    }

    LONG ReadSpn()
    {
        RawCardFile raw;
        const LONG result = ReadUiccFile(m_commands, simfile::EfSpn, 1, raw, m_log);
        m_content.spnState = raw.state;
        ServiceProviderName spn;
        if (!raw.records.empty() && DecodeServiceProviderName(raw.records[0].data(), raw.records[0].size(), spn))
            m_content.spn = spn;
        return result;
    }

    // The file's records, and its extension file when a record continues there.
    LONG ReadPhoneBook(const AdfPhoneBook& file)
    {
        RawCardFile raw;
        LONG result = ReadUiccFile(m_commands, file.fileId, DiallingRecordTailLength, raw, m_log);
        std::optional<RawCardFile> extension;
        if (result == sc::Success && NeedsExtension(raw)) {
            extension.emplace();
            result = ReadUiccFile(m_commands, file.extensionId, ExtensionRecordLength, *extension, m_log);
        }
        PhoneBook& book = m_content.*file.book;
        book = DecodePhoneBook(raw, extension ? &*extension : nullptr);
        book.extensionState = extension ? extension->state : FileState::NotRead;
        return result;
    }

    // A phone-book DF whose SELECT was answered with `selected`; one the
    // card does not have stays NotRead.
    LONG ReadPhoneBookDf(const UiccAnswer& selected, UsimPhoneBookContent& book)
    {
        if (selected.result != sc::Success)
            return selected.result;
        if (!selected.Ok()) {
            const FileState state = StateOfUiccAnswer(selected.statusWord);
            book.state = state == FileState::Absent ? FileState::NotRead : state;
            return sc::Success;
        }
        return ReadUsimPhoneBook(m_commands, book, m_log);
    }

    UiccCommands m_commands;
    UiccContent& m_content;
    UiccWalkLog m_log;
    std::optional<std::vector<uint8_t>> m_ust;
};

// SELECT of the MF with class 00: a UICC answers its FCP. A card that
// answered class A0 before may keep to it until reset: it is reset once and
// asked again. `reset` tells whether that happened.
LONG ProbeUicc(CCardReader& reader, bool gsmAnswered, bool& isUicc, bool& reset)
{
    UiccCommands commands(reader);
    UiccAnswer probe = commands.SelectById(simfile::Mf);
    if (probe.result != sc::Success || IsFcp(probe) || !gsmAnswered) {
        isUicc = IsFcp(probe);
        return probe.result;
    }
    reader.EndTransaction();
    LONG result = reader.ResetCard();
    reader.BeginTransaction();
    reset = true;
    if (result != sc::Success)
        return result;
    probe = commands.SelectById(simfile::Mf);
    isUicc = IsFcp(probe);
    return probe.result;
}

LONG ReadUsim(CCardReader& reader, UiccPinSource& pins, UiccContent& content)
{
    UsimWalk walk(reader, content);
    LONG result = walk.ReadMasterFiles();
    std::optional<PinStatusTemplate> pinStatus;
    if (result == sc::Success)
        result = walk.SelectUsim(pinStatus);
    if (result == sc::Success && content.usimSelected) {
        result = CheckUiccPins(walk.Commands(), pinStatus ? &*pinStatus : nullptr, pins, content);
        if (result == sc::Success)
            result = walk.ReadAdfFiles();
    }
    if (result == sc::Success)
        result = walk.ReadGlobalPhoneBook();
    walk.Finish();
    return result;
}

} // namespace

LONG ReadUicc(CCardReader& reader, bool gsmAnswered, UiccPinSource pins, CardContent& content)
{
    reader.BeginTransaction(); // as the dialog's read: it runs whether or not granted
    bool isUicc = false;
    bool reset = false;
    LONG result = ProbeUicc(reader, gsmAnswered, isUicc, reset);
    pins.verificationLost = reset;
    if (result == sc::Success && isUicc) {
        content.kind = gsmAnswered ? CardKind::UiccWithGsm : CardKind::Uicc;
        content.uicc.emplace();
        result = ReadUsim(reader, pins, *content.uicc);
    }
    reader.EndTransaction();
    return result;
}
