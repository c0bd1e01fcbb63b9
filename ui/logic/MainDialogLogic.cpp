// The connect and disconnect workflow of the main dialog.
#include "MainDialogLogic.h"

#include <array>

#include "TextFormat.h"
#include "card/SmsReader.h"
#include "res/resource.h"
#include "sim/AnsiText.h"
#include "sim/CardIdentity.h"
#include "sim/ResultCodes.h"
#include "sim/SimFiles.h"

namespace {

constexpr DWORD ProtocolT0 = 1; // SCARD_PROTOCOL_T0
constexpr LONG RemovedCard = static_cast<LONG>(0x80100069UL); // SCARD_W_REMOVED_CARD

// The fields a disconnect empties, in the order it empties them.
constexpr std::array<int, 7> CardFields = {IDC_ICCID,     IDC_PIN1_STATE, IDC_PIN2_STATE, IDC_IMSI,
                                           IDC_ADN_COUNT, IDC_FDN_COUNT,  IDC_SMS_COUNT};
constexpr std::array<int, 3> ViewButtons = {IDC_VIEW_ADN, IDC_VIEW_FDN, IDC_VIEW_SMS};

const PinRuleTexts ImsiTexts = {u"Your PIN is blocked!\nIMSI file can't be read.",
                                u"No PIN entered.\n We can't read the IMSI EF without it"};
const PinRuleTexts FdnTexts = {u"Your PIN is blocked!\nFDN file can't be read.",
                               u"No PIN entered.\n We can't read the FDN EF without it"};
const PinRuleTexts AdnTexts = {u"Your PIN is blocked!\nADN file can't be read.",
                               u"No PIN entered.\n We can't read the ADN EF without it"};
const PinRuleTexts SmsTexts = {u"Your PIN is blocked!\nSMS records file can't be read.",
                               u"No PIN entered.\n We can't read the SMS records without it"};

std::u16string EntriesText(const DiallingNumberFile& file)
{
    if (!file.Enabled)
        return u"Disabled";
    return u"Enabled with " + DecimalText(static_cast<long long>(file.Entries.size())) + u" entries";
}

} // namespace

bool IsCardAnswer(LONG result)
{
    return result == sc::Success || result == sc::Unexpected || result == sc::FileNotFound ||
           result == sc::WrongChv || result == sc::ChvBlocked || result == sc::CancelledByUser;
}

MainDialogLogic::MainDialogLogic(IMainView& view) : m_view(view) {}

unsigned MainDialogLogic::OnInitDialog()
{
    unsigned listed = 0;
    if (m_readerList.ListReaders() == sc::Success && m_readerList.GetReaderCount() != 0) {
        listed = m_readerList.GetReaderCount();
        for (unsigned i = 0; i < listed; ++i)
            m_view.AddReaderName(pcsc::ReaderNameToUtf16(m_readerList.GetReader(i)->GetName()));
        m_view.SelectReader(0);
        m_view.EnableControl(IDC_CONNECT, true);
    }
    m_bConnected = false;
    m_bPinVerified = false;
    for (int button : ViewButtons)
        m_view.EnableControl(button, false);
    return listed;
}

ConnectOutcome MainDialogLogic::OnConnect()
{
    if (m_bConnected) {
        Disconnect();
        return ConnectOutcome::Disconnected;
    }
    CCardReader* reader = SelectedReader();
    if (reader == nullptr)
        return ConnectOutcome::NoReader;
    if (!reader->IsCardPresent()) {
        ShowMessage(u"No card present on the selected reader", u"Empty reader", mb::IconExclamation);
        return ConnectOutcome::EmptyReader;
    }
    m_view.BeginWaitCursor();
    const ConnectOutcome outcome = Connect(*reader);
    m_view.EndWaitCursor();
    return outcome;
}

CCardReader* MainDialogLogic::SelectedReader()
{
    const int index = m_view.GetSelectedReader();
    if (index < 0)
        return nullptr;
    return m_readerList.GetReader(static_cast<unsigned>(index));
}

ConnectOutcome MainDialogLogic::Connect(CCardReader& reader)
{
    m_interruption = 0;
    const LONG connected = reader.Connect(ProtocolT0);
    if (connected == sc::ProtoMismatch) {
        ShowMessage(u"The card doesn't support T=0 protocol. We can't continue!", u"Insupported Protocol",
                    mb::IconExclamation);
        return ConnectOutcome::ProtocolMismatch;
    }
    if (connected != sc::Success) {
        const std::u16string text = u"Error (0x" + Hex8Text(static_cast<uint32_t>(sc::ToUnsigned32(connected))) +
                                    u") occured while connecting to the card";
        m_view.ShowMessage(text, u"PC/SC Error", mb::IconStop);
        return ConnectOutcome::ConnectError;
    }

    PinStatus pin;
    pin.Clear();
    reader.BeginTransaction(); // the workflow runs whether or not it is granted
    if (ReadIdentity(reader, pin)) {
        ReadImsi(reader, pin);
        m_view.BeginWaitCursor(); // the PIN dialog may have changed the cursor
        ShowPinStates(reader, pin);
        ReadContents(reader, pin);
        ShowCounts();
        m_bConnected = true;
        m_view.EndWaitCursor();
    }
    reader.EndTransaction();

    if (m_bConnected) {
        m_view.EnableControl(IDC_READERS, false);
        m_view.SetControlText(IDC_CONNECT, u"Disconnect");
        return ConnectOutcome::Connected;
    }
    ShowMessage(u"The card is not a GSM SIM card", u"Incompatible card", mb::IconExclamation);
    reader.Disconnect();
    // STATUS reports no error code: a card that went away during it is
    // found missing here.
    if (m_interruption == 0 && !reader.IsCardPresent())
        m_interruption = RemovedCard;
    return ConnectOutcome::IncompatibleCard;
}

void MainDialogLogic::Disconnect()
{
    if (CCardReader* reader = SelectedReader())
        reader->Disconnect();
    m_view.EnableControl(IDC_READERS, true);
    m_view.SetControlText(IDC_CONNECT, u"Connect");
    for (int field : CardFields)
        m_view.SetControlText(field, u"");
    m_bConnected = false;
    m_bPinVerified = false;
    for (int button : ViewButtons)
        m_view.EnableControl(button, false);
    m_fdn.Clear();
    m_adn.Clear();
    m_sms.Clear();
}

// The card is taken for a GSM SIM when the MF, its STATUS and the ICC ID
// can be read.
bool MainDialogLogic::ReadIdentity(CCardReader& reader, PinStatus& pin)
{
    if (Track(reader.SelectFile(simfile::Mf)) != sc::Success)
        return false;
    if (!reader.GetStatus(pin))
        return false;
    if (Track(reader.SelectFile(simfile::EfIccid)) != sc::Success)
        return false;
    uint8_t iccid[IccIdLength] = {};
    if (Track(reader.ReadBinary(IccIdLength, iccid)) != sc::Success)
        return false;
    m_view.SetControlText(IDC_ICCID, AnsiToWide(IccIdText(iccid, IccIdLength)));
    return true;
}

void MainDialogLogic::ReadImsi(CCardReader& reader, PinStatus& pin)
{
    std::vector<uint8_t> header;
    if (Track(reader.SelectFile(simfile::DfGsm)) != sc::Success)
        return;
    if (Track(reader.SelectFile(simfile::EfImsi, header)) != sc::Success)
        return;
    uint16_t fileSize = 0;
    int32_t readAccess = 0;
    int32_t updateAccess = 0;
    if (CCardReader::ParseFileHeader(header, fileSize, readAccess, updateAccess) != sc::Success)
        return;
    ApplyPinRule(reader, pin, readAccess, ImsiTexts);

    // A file of no digits (size 0 or 1) leaves the field empty.
    const unsigned length = ImsiReadLength(fileSize);
    if (length == 0)
        return;
    uint8_t imsi[256] = {};
    if (Track(reader.ReadBinary(length, imsi)) != sc::Success) {
        m_view.SetControlText(IDC_IMSI, u"Failed to read IMSI file");
        return;
    }
    m_view.SetControlText(IDC_IMSI, AnsiToWide(ImsiText(imsi, length)));
}

void MainDialogLogic::ShowPinStates(CCardReader& reader, PinStatus& pin)
{
    // The PIN entry may have changed the counters: the card's word wins.
    PinStatus fresh;
    if (reader.GetStatus(fresh))
        pin = fresh;
    m_view.SetControlText(IDC_PIN1_STATE, AnsiToWide(Pin1StateText(pin)));
    m_view.SetControlText(IDC_PIN2_STATE, AnsiToWide(Pin2StateText(pin)));
}

void MainDialogLogic::ReadContents(CCardReader& reader, PinStatus& pin)
{
    if (Track(reader.SelectFile(simfile::Mf)) != sc::Success)
        return;
    if (Track(reader.SelectFile(simfile::DfTelecom)) != sc::Success)
        return;
    ReadDiallingFile(reader, pin, simfile::EfFdn, m_fdn, FdnTexts);
    ReadDiallingFile(reader, pin, simfile::EfAdn, m_adn, AdnTexts);
    ReadSmsFile(reader, pin);
}

void MainDialogLogic::ReadDiallingFile(CCardReader& reader, PinStatus& pin, uint16_t fileId,
                                       DiallingNumberFile& file, const PinRuleTexts& texts)
{
    std::vector<uint8_t> header;
    if (Track(reader.SelectFile(fileId, header)) != sc::Success)
        return;
    uint16_t fileSize = 0;
    int32_t readAccess = 0;
    int32_t updateAccess = 0;
    if (CCardReader::ParseFileHeader(header, fileSize, readAccess, updateAccess) != sc::Success)
        return;
    if (ParseDiallingFileHeader(header, file) != sc::Success || !file.Enabled)
        return;
    if (!m_bPinVerified)
        ApplyPinRule(reader, pin, readAccess, texts);
    Track(reader.ReadDiallingNumbers(file)); // what was read before a failure stays
}

void MainDialogLogic::ReadSmsFile(CCardReader& reader, PinStatus& pin)
{
    std::vector<uint8_t> header;
    if (Track(reader.SelectFile(simfile::EfSms, header)) != sc::Success)
        return;
    uint16_t fileSize = 0;
    int32_t readAccess = 0;
    int32_t updateAccess = 0;
    if (CCardReader::ParseFileHeader(header, fileSize, readAccess, updateAccess) != sc::Success)
        return;
    if (ParseSmsFileHeader(header, m_sms) != sc::Success)
        return;
    if (!m_bPinVerified)
        ApplyPinRule(reader, pin, readAccess, SmsTexts);
    Track(ReadSmsMessages(reader, m_sms));
}

void MainDialogLogic::ShowCounts()
{
    m_view.SetControlText(IDC_ADN_COUNT, EntriesText(m_adn));
    if (m_adn.Enabled)
        m_view.EnableControl(IDC_VIEW_ADN, !m_adn.Entries.empty());
    m_view.SetControlText(IDC_FDN_COUNT, EntriesText(m_fdn));
    if (m_fdn.Enabled)
        m_view.EnableControl(IDC_VIEW_FDN, !m_fdn.Entries.empty());
    m_view.SetControlText(IDC_SMS_COUNT, DecimalText(static_cast<long long>(m_sms.messages.size())) + u" messages");
    m_view.EnableControl(IDC_VIEW_SMS, !m_sms.messages.empty());
}

int MainDialogLogic::ShowMessage(const char16_t* text, const char16_t* caption, unsigned type)
{
    return m_view.ShowMessage(text, caption, type);
}

LONG MainDialogLogic::Track(LONG result)
{
    if (m_interruption == 0 && !IsCardAnswer(result))
        m_interruption = result;
    return result;
}
