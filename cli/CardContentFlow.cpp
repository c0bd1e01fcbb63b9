#include "CardContentFlow.h"

#include "card/CardContentReader.h"
#include "card/UiccReader.h"
#include "sim/ResultCodes.h"
#include "ui/logic/PinEntry.h"

namespace {

constexpr DWORD ProtocolT0 = 1; // SCARD_PROTOCOL_T0

// PIN1 for the UICC read: on a card the dialog's read verified, the entry
// it verified; on a card it could not read, the user, asked as the dialog
// asks.
UiccPinSource PinSource(IMainView& view, bool gsmAnswered, const ReceivedFiles& received)
{
    UiccPinSource source;
    source.accepted = received.AcceptedPin1();
    if (gsmAnswered)
        return source;
    source.ask = [&view](int triesLeft, std::u16string& pin) { return view.AskPin(triesLeft, pin); };
    source.retry = [&view] {
        const MessageBoxText question = WrongPinQuestion();
        return view.ShowMessage(question.text.c_str(), question.caption.c_str(), question.type) == mb::IdYes;
    };
    return source;
}

} // namespace

long ReadCardContentAfterConnect(const MainDialogLogic& logic, IMainView& view, ConnectOutcome outcome,
                                 unsigned readerIndex, long interruption, ReceivedFiles& received,
                                 std::optional<CardContent>& content)
{
    CCardReader* reader = logic.ReaderList().GetReader(readerIndex);
    if (interruption != 0 || reader == nullptr)
        return interruption;
    if (logic.IsConnected()) {
        content.emplace();
        const LONG result = ReadCardContent(*reader, received, *content);
        if (result != sc::Success)
            return result;
        return ReadUicc(*reader, true, PinSource(view, true, received), *content);
    }
    if (outcome != ConnectOutcome::IncompatibleCard)
        return interruption;
    // The dialog let the card go: it is connected again (with a reset).
    const LONG connected = reader->Connect(ProtocolT0);
    if (connected != sc::Success)
        return IsCardAnswer(connected) ? interruption : connected;
    CardContent uicc;
    const LONG result = ReadUicc(*reader, false, PinSource(view, false, received), uicc);
    if (uicc.uicc)
        content = std::move(uicc);
    return result;
}

bool IsUiccOnlyRead(const std::optional<CardContent>& content)
{
    return content && content->kind == CardKind::Uicc;
}
