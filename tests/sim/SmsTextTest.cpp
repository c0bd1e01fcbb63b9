#include <gtest/gtest.h>

#include "SeptetPacker.h"
#include "TestBytes.h"
#include "sim/SmsRecords.h"
#include "tests/ScopedTimeZone.h"

namespace {

TEST(UnpackSeptets, EveryLengthFrom1To160)
{
    for (size_t length = 1; length <= 160; ++length) {
        Bytes codes;
        for (size_t i = 0; i < length; ++i)
            codes.push_back(static_cast<uint8_t>('A' + i % 26));
        const Bytes packed = PackSeptets(codes);
        ASSERT_LE(packed.size(), 255u);
        // 7 septets leave a zero fill septet in the last octet, which is dropped.
        EXPECT_EQ(UnpackSeptets(packed.data(), static_cast<uint8_t>(packed.size())), Narrow(codes))
            << length << " septets";
    }
}

struct SeptetCase {
    const char* what;
    Bytes septets;
    Bytes text;
};

void PrintTo(const SeptetCase& c, std::ostream* os)
{
    *os << c.what;
}

class UnpackSeptetsTest : public testing::TestWithParam<SeptetCase> {};

TEST_P(UnpackSeptetsTest, MapsThroughGsmAlphabet)
{
    const Bytes packed = PackSeptets(GetParam().septets);
    EXPECT_EQ(UnpackSeptets(packed.data(), static_cast<uint8_t>(packed.size())), Narrow(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, UnpackSeptetsTest,
    testing::Values(SeptetCase{"seven_in_seven_octets", {'1', '2', '3', '4', '5', '6', '7'}, {'1', '2', '3', '4', '5', '6', '7'}},
                    SeptetCase{"eight_in_seven_octets", {'1', '2', '3', '4', '5', '6', '7', '8'},
                               {'1', '2', '3', '4', '5', '6', '7', '8'}},
                    // Without a septet count a final "@" cannot be told from fill.
                    SeptetCase{"at_sign_last", {'1', '2', '3', '4', '5', '6', '7', 0x00}, {'1', '2', '3', '4', '5', '6', '7'}},
                    SeptetCase{"at_sign_inside", {'A', 0x00, 'B'}, {'A', 0x40, 'B'}},
                    SeptetCase{"all_high_codes", {0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F},
                               {0xE0, 0xE0, 0xE0, 0xE0, 0xE0, 0xE0, 0xE0, 0xE0}},
                    SeptetCase{"escape_kept", {0x1B, 0x3C}, {0x1B, 0x3C}},
                    SeptetCase{"only_at_sign", {0x00}, {}}));

TEST(UnpackSeptets, ZeroOctets)
{
    const uint8_t none = 0x41;
    EXPECT_EQ(UnpackSeptets(&none, 0), "");
}

struct Ucs2Case {
    const char* hex;
    size_t length;
    std::u16string text;
};

void PrintTo(const Ucs2Case& c, std::ostream* os)
{
    *os << HexName(c.hex) << " length " << c.length;
}

class Ucs2Test : public testing::TestWithParam<Ucs2Case> {};

TEST_P(Ucs2Test, BigEndianUnits)
{
    const Bytes bytes = Hex(GetParam().hex);
    ASSERT_LE(GetParam().length, bytes.size());
    EXPECT_EQ(Ucs2BeToWide(bytes.data(), GetParam().length), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Texts, Ucs2Test,
                         testing::Values(Ucs2Case{"304253F68449", 6, u"\u3042\u53F6\u8449"},
                                         Ucs2Case{"00410042", 4, u"AB"},
                                         Ucs2Case{"0041004200", 5, u"AB"}, // odd byte has no partner
                                         Ucs2Case{"0041", 1, u""},
                                         Ucs2Case{"004100000042", 6, u"A"}, // ends at a zero unit
                                         Ucs2Case{"00410100", 4, u"A\u0100"}, // a zero byte is not a zero unit
                                         Ucs2Case{"D83DDE00", 4, u"\U0001F600"}, // surrogates kept as they are
                                         Ucs2Case{"", 0, u""}));

TEST(ReplaceLineBreaks, EveryCrAndLfBecomesSpace)
{
    std::u16string text = u"\r\nA\n\nB\r\u2028";
    ReplaceLineBreaks(text);
    EXPECT_EQ(text, u"  A  B \u2028");
}

struct StampCase {
    const char* hex;
    const char* date;
    int year; // years since 1900
    int yearDay;
};

void PrintTo(const StampCase& c, std::ostream* os)
{
    *os << c.hex;
}

class TimestampTest : public testing::TestWithParam<StampCase> {};

TEST_P(TimestampTest, NormalisesAndFormats)
{
    // mktime works in local time; the expected dates are those of UTC (no
    // summer time).
    const ScopedTimeZone utc("UTC0");
    const Bytes stamp = Hex(GetParam().hex);
    SmsMessage message;
    message.timestamp.tm_isdst = 1;
    EXPECT_EQ(ScTimestampToDate(message, stamp.data()), GetParam().date);
    EXPECT_EQ(message.timestamp.tm_year, GetParam().year);
    EXPECT_EQ(message.timestamp.tm_yday, GetParam().yearDay);
    EXPECT_EQ(message.timestamp.tm_isdst, 0);
}

// Octets are year, month, day, hour, minute, second, zone, each low nibble first.
INSTANTIATE_TEST_SUITE_P(
    Stamps, TimestampTest,
    testing::Values(StampCase{"08102020305500", "Wed Jan 02 02:03:55 1980\n", 80, 1},
                    StampCase{"97101021000000", "Sun Jan 01 12:00:00 2079\n", 179, 0}, // year 79 is 2079, 80 is 1980
                    StampCase{"99211390959500", "Fri Dec 31 09:59:59 1999\n", 99, 364},
                    StampCase{"00100000000000", "Fri Dec 31 00:00:00 1999\n", 99, 364}, // day 0: day before Jan 1
                    StampCase{"00101000000080", "Sat Jan 01 00:00:00 2000\n", 100, 0},   // zone ignored
                    StampCase{"00209232000000", "Tue Feb 29 23:00:00 2000\n", 100, 59},
                    StampCase{"99209200000000", "Mon Mar 01 00:00:00 1999\n", 99, 59},  // no Feb 29 in 1999
                    StampCase{"70605121000000", "Fri Jun 15 12:00:00 2007\n", 107, 165},
                    StampCase{"08311342000000", "Sun Feb 01 00:00:00 1981\n", 81, 31}, // month 13, hour 24
                    StampCase{"FFFFFFFFFFFFFF", "Sat Feb 18 23:47:45 2079\n", 179, 48})); // every field 165

// The shown date is the card's local time whatever the zone's summer time;
// the calendar time (the date column's sort value) is that local time's.
TEST(Timestamp, KeepsTheCardsTimeInSummerAndWinter)
{
    const char* const berlin = "CET-1CEST,M3.5.0,M10.5.0/3";
    const char* const newYork = "EST5EDT,M3.2.0,M11.1.0";
    const std::tuple<const char*, const char*, const char*, long long> cases[] = {
        {berlin, "20806291731400", "Mon Aug 26 19:37:41 2002\n", 1030383461},
        {berlin, "08102020305500", "Wed Jan 02 02:03:55 1980\n", 315623035},
        {newYork, "20806291731400", "Mon Aug 26 19:37:41 2002\n", 1030405061},
        {newYork, "08102020305500", "Wed Jan 02 02:03:55 1980\n", 315644635},
        {"UTC0", "20806291731400", "Mon Aug 26 19:37:41 2002\n", 1030390661},
    };
    for (const auto& [zone, hex, date, calendarTime] : cases) {
        SCOPED_TRACE(testing::Message() << zone << " " << hex);
        const ScopedTimeZone scoped(zone);
        const Bytes stamp = Hex(hex);
        SmsMessage message;
        EXPECT_EQ(ScTimestampToDate(message, stamp.data()), date);
        std::tm copy = message.timestamp;
        EXPECT_EQ(static_cast<long long>(std::mktime(&copy)), calendarTime);
    }
}

#ifndef _WIN32 // the C runtime on Windows keeps its own summer-time rules
// 02:30 on the morning clocks go forward does not exist. mktime may keep it
// (as summer time) or move it an hour on; either way date and calendar time
// agree. (glibc: 03:30 in Berlin, 02:30 in New York.)
TEST(Timestamp, TheSkippedHourStaysConsistent)
{
    const std::tuple<const char*, const char*, const char*, long long> cases[] = {
        {"CET-1CEST,M3.5.0,M10.5.0/3", "20301320030000", "Sun Mar 31 0%d:30:00 2002\n", 1017534600},
        {"EST5EDT,M3.2.0,M11.1.0", "20407020030000", "Sun Apr 07 0%d:30:00 2002\n", 1018161000},
    };
    for (const auto& [zone, hex, pattern, keptTime] : cases) {
        SCOPED_TRACE(zone);
        const ScopedTimeZone scoped(zone);
        const Bytes stamp = Hex(hex);
        SmsMessage message;
        const std::string date = ScTimestampToDate(message, stamp.data());
        std::tm copy = message.timestamp;
        const long long calendarTime = std::mktime(&copy);
        const int hour = calendarTime == keptTime ? 2 : 3; // kept as 02:30 summer time, or 03:30
        EXPECT_TRUE(calendarTime == keptTime || calendarTime == keptTime + 3600) << calendarTime;
        char expected[40];
        std::snprintf(expected, sizeof expected, pattern, hour);
        EXPECT_EQ(date, expected);
    }
}
#endif

} // namespace
