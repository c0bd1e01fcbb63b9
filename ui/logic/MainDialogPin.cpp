// PIN1 for the protected files: the PIN rule of the workflow and the
// verification loop behind it.
#include "MainDialogLogic.h"
#include "PinEntry.h"

#include "sim/CardIdentity.h"
#include "sim/ResultCodes.h"

namespace {

// A correct PIN restores the card's counter to its full count.
constexpr int32_t Pin1FullTries = 3;

} // namespace

void MainDialogLogic::ApplyPinRule(CCardReader& reader, PinStatus& pin, int32_t readAccess,
                                   const PinRuleTexts& texts)
{
    if (!NeedsPin1(pin, readAccess))
        return;
    if (IsPin1Blocked(pin, readAccess)) {
        ShowMessage(texts.blocked, u"PIN Blocked", mb::IconStop);
        return;
    }
    if (VerifyPin(reader, pin) == sc::CancelledByUser)
        ShowMessage(texts.needed, u"PIN Needed", mb::IconExclamation);
    // The read that follows is attempted in every case.
}

LONG MainDialogLogic::VerifyPin(CCardReader& reader, PinStatus& pinStatus)
{
    if (m_bPinVerified)
        return sc::Success;
    for (;;) {
        if (pinStatus.pin1TriesLeft <= 0)
            return sc::ChvBlocked;
        std::u16string pin;
        if (!m_view.AskPin(pinStatus.pin1TriesLeft, pin))
            return sc::CancelledByUser;
        const LONG result = Track(reader.VerifyPin1(pin));
        if (result == sc::WrongChv) {
            --pinStatus.pin1TriesLeft;
            // Only Yes retries: any other answer counts as No.
            const MessageBoxText question = WrongPinQuestion();
            if (ShowMessage(question.text.c_str(), question.caption.c_str(), question.type) != mb::IdYes)
                return sc::CancelledByUser;
            continue;
        }
        if (result == sc::ChvBlocked) {
            pinStatus.pin1TriesLeft = 0;
            ShowMessage(u"Your PIN is blocked!\n", u"PIN Blocked", mb::Ok | mb::IconStop);
            return sc::ChvBlocked;
        }
        if (result != sc::Success) {
            ShowMessage(u"An unknown error occured\n", u"Error", mb::Ok | mb::IconStop);
            return result;
        }
        m_bPinVerified = true;
        pinStatus.pin1TriesLeft = Pin1FullTries;
        return sc::Success;
    }
}
