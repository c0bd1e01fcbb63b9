// What the PIN dialog accepts and what it says otherwise.
#include <gtest/gtest.h>

#include "ui/logic/PinEntry.h"

namespace {

struct EntryCase {
    std::u16string entry;
    const char16_t* text; // null: accepted
    const char16_t* caption;
};

class PinEntryTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(PinEntryTest, MessageOrAcceptance)
{
    const EntryCase& c = GetParam();
    const std::optional<MessageBoxText> message = ValidatePinEntry(c.entry);
    if (c.text == nullptr) {
        EXPECT_FALSE(message.has_value());
        return;
    }
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->text, c.text);
    EXPECT_EQ(message->caption, c.caption);
    EXPECT_EQ(message->type, 0x30u);
}

const char16_t* const Short = u"PIN too short!\nMust contain at least 4 digits.";
const char16_t* const NotDigits = u"The PIN must contain only digits.";

INSTANTIATE_TEST_SUITE_P(
    Entries, PinEntryTest,
    ::testing::Values(EntryCase{u"", u"No PIN entered!", u"Empty PIN"},
                      EntryCase{u"1", Short, u"PIN short"},
                      EntryCase{u"123", Short, u"PIN short"},
                      // Length is checked before the digits.
                      EntryCase{u"ab", Short, u"PIN short"},
                      EntryCase{u"1234", nullptr, nullptr},
                      EntryCase{u"00000000", nullptr, nullptr},
                      EntryCase{u"123456789", u"PIN too long!\nMust contain at most 8 digits.", u"PIN long"},
                      EntryCase{u"12a4", NotDigits, u"Invalid PIN"},
                      EntryCase{u"1234 ", NotDigits, u"Invalid PIN"},
                      EntryCase{u"-1234", NotDigits, u"Invalid PIN"},
                      // Digits of other scripts would reach the card as '?'.
                      EntryCase{u"12\u0663\u0664", NotDigits, u"Invalid PIN"},
                      EntryCase{u"\uFF11\uFF12\uFF13\uFF14", NotDigits, u"Invalid PIN"}));

TEST(PinTriesLeftText, ShowsTheCount)
{
    EXPECT_EQ(PinTriesLeftText(3), u"PIN1 Tries left = 3");
    EXPECT_EQ(PinTriesLeftText(0), u"PIN1 Tries left = 0");
}

} // namespace
