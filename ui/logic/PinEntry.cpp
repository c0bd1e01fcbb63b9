#include "PinEntry.h"

#include "MainView.h"
#include "TextFormat.h"

namespace {

MessageBoxText Warning(const char16_t* text, const char16_t* caption)
{
    return MessageBoxText{text, caption, mb::Ok | mb::IconExclamation};
}

// Only the ASCII digits: these are what VERIFY sends; any other character
// the locale calls a digit would reach the card as '?' and cost an attempt.
bool IsPinDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

std::optional<MessageBoxText> ValidatePinEntry(const std::u16string& pin)
{
    if (pin.empty())
        return Warning(u"No PIN entered!", u"Empty PIN");
    if (pin.size() < PinMinLength)
        return Warning(u"PIN too short!\nMust contain at least 4 digits.", u"PIN short");
    // The dialog's field cannot take more; a terminal can, so say so rather
    // than cut the entry and send a PIN the user did not type.
    if (pin.size() > PinMaxLength)
        return Warning(u"PIN too long!\nMust contain at most 8 digits.", u"PIN long");
    for (char16_t c : pin) {
        if (!IsPinDigit(c))
            return Warning(u"The PIN must contain only digits.", u"Invalid PIN");
    }
    return std::nullopt;
}

std::u16string PinTriesLeftText(int triesLeft)
{
    return u"PIN1 Tries left = " + DecimalText(triesLeft);
}

MessageBoxText WrongPinQuestion()
{
    return MessageBoxText{u"Wrong PIN!\nDo you want to retry?", u"Wrong PIN", mb::YesNo | mb::IconExclamation};
}
