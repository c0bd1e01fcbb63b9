// The main dialog's behaviour without its window: the reader list, the
// connect and disconnect workflow, the PIN rule and the PIN verification
// loop. Everything the user sees goes through IMainView; the Win32 CMainDlg
// owns one of these and forwards OnInitDialog and the Connect button to it.
#pragma once
#include <cstdint>
#include <string>

#include "MainView.h"
#include "card/CardReaderList.h"
#include "sim/DiallingNumbers.h"
#include "sim/PinStatus.h"
#include "sim/SmsRecords.h"

// How one press of the Connect/Disconnect button ended, for front ends that
// report it (the terminal's exit code). The window itself ignores it.
enum class ConnectOutcome {
    Connected,        // identity read; the other stages may have failed
    Disconnected,     // the button disconnected
    NoReader,         // no reader selected or listed
    EmptyReader,      // "Empty reader"
    ProtocolMismatch, // "Insupported Protocol"
    ConnectError,     // "PC/SC Error" while connecting
    IncompatibleCard, // "Incompatible card"
};

// A result that is a card's answer to a command (success, an unexpected
// answer, file not found, the VERIFY answers, a declined PIN), as opposed to
// a failure of the card's presence or of the path to it.
bool IsCardAnswer(LONG result);

// The texts of the PIN rule for one file.
struct PinRuleTexts {
    const char16_t* blocked; // shown with "PIN Blocked" when no attempt is left
    const char16_t* needed;  // shown with "PIN Needed" when the user declined
};

class MainDialogLogic {
public:
    explicit MainDialogLogic(IMainView& view);
    MainDialogLogic(const MainDialogLogic&) = delete;
    MainDialogLogic& operator=(const MainDialogLogic&) = delete;

    // Lists the readers into the combo, selects the first and enables
    // Connect; with no reader or no PC/SC service nothing is shown. Resets
    // the connection state and disables the View buttons. Returns the number
    // of readers listed.
    unsigned OnInitDialog();

    // The Connect/Disconnect button.
    ConnectOutcome OnConnect();

    // Asks for PIN1 and presents it until it is verified, declined or
    // blocked. Returns 0, SCARD_W_CHV_BLOCKED, SCARD_W_CANCELLED_BY_USER or
    // the card's other error (after "An unknown error occured\n").
    LONG VerifyPin(CCardReader& reader, PinStatus& pinStatus);

    bool IsConnected() const { return m_bConnected; }
    bool IsPinVerified() const { return m_bPinVerified; }
    const DiallingNumberFile& Fdn() const { return m_fdn; }
    const DiallingNumberFile& Adn() const { return m_adn; }
    const SmsFile& Sms() const { return m_sms; }
    const CCardReaderList& ReaderList() const { return m_readerList; }

    // The first PC/SC error that was not a card's answer (a removed card, a
    // vanished reader, a stopped service, a failed transport) met by the last
    // connect after the card was connected; 0 when there was none. The
    // window shows nothing for it; the terminal reports an incomplete read.
    LONG GetInterruption() const { return m_interruption; }

private:
    ConnectOutcome Connect(CCardReader& reader);
    void Disconnect();
    bool ReadIdentity(CCardReader& reader, PinStatus& pin);
    void ReadImsi(CCardReader& reader, PinStatus& pin);
    void ShowPinStates(CCardReader& reader, PinStatus& pin);
    void ReadContents(CCardReader& reader, PinStatus& pin);
    void ReadDiallingFile(CCardReader& reader, PinStatus& pin, uint16_t fileId, DiallingNumberFile& file,
                          const PinRuleTexts& texts);
    void ReadSmsFile(CCardReader& reader, PinStatus& pin);
    void ShowCounts();
    void ApplyPinRule(CCardReader& reader, PinStatus& pin, int32_t readAccess, const PinRuleTexts& texts);
    CCardReader* SelectedReader();
    int ShowMessage(const char16_t* text, const char16_t* caption, unsigned type);
    // Passes a card operation's result through, noting the first one that
    // is a transport failure rather than the card's answer.
    LONG Track(LONG result);

    IMainView& m_view;
    CCardReaderList m_readerList;
    bool m_bConnected = false;
    bool m_bPinVerified = false;
    DiallingNumberFile m_fdn;
    DiallingNumberFile m_adn;
    SmsFile m_sms;
    LONG m_interruption = 0;
};
