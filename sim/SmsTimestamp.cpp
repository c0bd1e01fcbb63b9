#include <charconv>
#include <ctime>
#include <string>

#include "SmsRecords.h"

namespace {

// Swapped-nibble BCD: the low nibble is the tens digit.
int SwappedBcdValue(uint8_t octet)
{
    return (octet & 0x0F) * 10 + (octet >> 4);
}

const char* WeekdayName(int weekday)
{
    static const char* const names[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    return weekday >= 0 && weekday < 7 ? names[weekday] : "???";
}

const char* MonthName(int month)
{
    static const char* const names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return month >= 0 && month < 12 ? names[month] : "???";
}

// Appends `value` as printf's "%02d" does: at least two characters.
void AppendTwoDigits(std::string& text, int value)
{
    if (value >= 0 && value < 10)
        text += '0';
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(digits, end);
}

// The asctime layout, but with a two-digit day on every platform. Built
// without printf: this runs once per message of a full card.
std::string DateText(const std::tm& time)
{
    std::string text;
    text.reserve(32);
    text.append(WeekdayName(time.tm_wday)).append(" ").append(MonthName(time.tm_mon)).append(" ");
    AppendTwoDigits(text, time.tm_mday);
    text += ' ';
    AppendTwoDigits(text, time.tm_hour);
    text += ':';
    AppendTwoDigits(text, time.tm_min);
    text += ':';
    AppendTwoDigits(text, time.tm_sec);
    text += ' ';
    char year[16];
    text.append(year, std::to_chars(year, year + sizeof year, time.tm_year + 1900).ptr);
    text += '\n';
    return text;
}

} // namespace

std::string ScTimestampToDate(SmsMessage& message, const uint8_t* stamp)
{
    std::tm& time = message.timestamp;
    time = std::tm{};
    const int yy = SwappedBcdValue(stamp[0]);
    time.tm_year = (yy < 80 ? 2000 + yy : 1900 + yy) - 1900;
    time.tm_mon = SwappedBcdValue(stamp[1]) - 1;
    time.tm_mday = SwappedBcdValue(stamp[2]);
    time.tm_hour = SwappedBcdValue(stamp[3]);
    time.tm_min = SwappedBcdValue(stamp[4]);
    time.tm_sec = SwappedBcdValue(stamp[5]);
    // mktime decides whether summer time applies, so that the normalised
    // time is the card's: a fixed "no summer time" would move every summer
    // stamp an hour on.
    time.tm_isdst = -1;
    std::mktime(&time);
    return DateText(time);
}
