// The USIM phone book: the records of its files, and whole books linked from
// EF_PBR and those records, compared as one summary line an entry.
#include <gtest/gtest.h>

#include <sstream>

#include "TestBytes.h"
#include "sim/uicc/PhoneBookAssembler.h"
#include "sim/uicc/PhoneBookRecords.h"

namespace {

std::string Numbers(const std::vector<uint8_t>& numbers)
{
    std::string text;
    for (uint8_t number : numbers)
        text += (text.empty() ? "" : ",") + std::to_string(number);
    return text;
}

std::string Pointer(const std::optional<AdnPointer>& adn)
{
    return adn ? " adn=" + std::to_string(adn->sfi) + "/" + std::to_string(adn->record) : "";
}

enum class Kind { Anr, Text, Iap, Grp, Pbc };

struct RecordCase {
    Kind kind;
    bool typeTwo;
    const char* hex;
    const char* summary;
};

std::string Summary(Kind kind, bool typeTwo, const Bytes& record)
{
    switch (kind) {
    case Kind::Anr: {
        const AnrRecord anr = DecodeAnrRecord(record.data(), record.size(), typeTwo);
        if (!anr.used)
            return "unused" + Pointer(anr.adn);
        return "aas=" + std::to_string(anr.aasRecord) + " " + anr.digits + " ton=" + std::to_string(anr.tonNpi) +
               " ext=" + std::to_string(anr.extensionRecord) + Pointer(anr.adn);
    }
    case Kind::Text: {
        const TextRecord text = DecodeTextRecord(record.data(), record.size(), typeTwo);
        return "'" + text.text.text + "'" + Pointer(text.adn);
    }
    case Kind::Iap:
        return Numbers(DecodeIapRecord(record.data(), record.size()));
    case Kind::Grp:
        return Numbers(DecodeGroupRecord(record.data(), record.size()));
    case Kind::Pbc: {
        const auto control = DecodeEntryControl(record.data(), record.size());
        return !control ? "none" : control->Hidden() ? "hidden" : "shown";
    }
    }
    return {};
}

TEST(PhoneBookRecords, DecodeWhatWasReceived)
{
    const RecordCase cases[] = {
        {Kind::Anr, false, "01 0681 3010325476 FFFFFFFFFF FF FF", "aas=1 0301234567 ton=129 ext=255"},
        {Kind::Anr, false, "FF 0681 3010325476 FFFFFFFFFF FF 03", "aas=0 0301234567 ton=129 ext=3"}, // no label
        {Kind::Anr, true, "00 0391 2143FFFFFFFFFFFFFFFF FF FF 01 05", "aas=0 1234 ton=145 ext=255 adn=1/5"},
        {Kind::Anr, true, "02 0391 2143FFFFFFFFFFFFFFFF FF FF", "aas=2 1234 ton=145 ext=255"}, // no back-pointer received
        {Kind::Anr, false, "01 0681 3010", "aas=1 0301 ton=129 ext=255"},                       // cut
        {Kind::Anr, false, "01 0F81 3010325476 FFFFFFFFFF FF FF", "aas=1  ton=129 ext=255"},     // lying length
        {Kind::Anr, false, "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFF", "unused"},
        {Kind::Anr, true, "01 0081 FFFFFFFFFFFFFFFFFFFF FF FF 01 01", "unused adn=1/1"},
        {Kind::Anr, false, "", "unused"},
        {Kind::Text, true, "61 00 62 2E 63 FF FF FF 01 05", "'a@b.c' adn=1/5"}, // 00 is '@', FF ends it
        {Kind::Text, false, "616C696365 00 6578616D706C652E6F7267 FFFFFF", "'alice@example.org'"},
        {Kind::Text, false, "80 0061 0040 FFFF FFFF", "'a@'"},
        {Kind::Text, false, "41 6C 69 FF 42 FF", "'Ali'"},
        {Kind::Text, true, "FFFFFFFF 01 01", "'' adn=1/1"},
        {Kind::Text, true, "41", "'A'"},
        {Kind::Iap, false, "02 FF 00 03", "2,0,0,3"},
        {Kind::Grp, false, "01 00 FF 03", "1,3"},
        {Kind::Pbc, false, "00 01", "hidden"},
        {Kind::Pbc, false, "01 00", "shown"},
        {Kind::Pbc, false, "00", "none"},
    };
    for (const RecordCase& c : cases) {
        SCOPED_TRACE(c.hex);
        EXPECT_EQ(Summary(c.kind, c.typeTwo, Hex(c.hex)), c.summary);
    }
}

// ---- whole books ----

struct PbrFile {
    uint8_t tag;
    uint16_t fileId;
    uint8_t sfi = 0; // 0: none given
};

Bytes Template(uint8_t link, std::initializer_list<PbrFile> files)
{
    Bytes value;
    for (const PbrFile& file : files) {
        value.insert(value.end(), {file.tag, static_cast<uint8_t>(file.sfi ? 3 : 2),
                                   static_cast<uint8_t>(file.fileId >> 8), static_cast<uint8_t>(file.fileId)});
        if (file.sfi)
            value.push_back(file.sfi);
    }
    return Concat({Bytes{link, static_cast<uint8_t>(value.size())}, value});
}

// GSM text ('@' as 00) padded with FF to `length`.
Bytes Gsm(const std::string& text, size_t length)
{
    Bytes bytes;
    for (char c : text)
        bytes.push_back(c == '@' ? 0x00 : static_cast<uint8_t>(c));
    bytes.resize(length, 0xFF);
    return bytes;
}

// The 14 bytes of a number: length, TON/NPI, ten BCD bytes, CCP, EXT1 record.
Bytes Number(const std::string& digits, uint8_t ext = 0xFF, uint8_t tonNpi = 0x81)
{
    Bytes number(14, 0xFF);
    if (!digits.empty()) {
        const Bytes bcd = SwappedBcd(digits);
        number[0] = static_cast<uint8_t>(bcd.size() + 1);
        number[1] = tonNpi;
        std::copy(bcd.begin(), bcd.end(), number.begin() + 2);
    }
    number[13] = ext;
    return number;
}

Bytes Adn(const std::string& name, const std::string& digits, uint8_t ext = 0xFF, uint8_t tonNpi = 0x81)
{
    return Concat({Gsm(name, 6), Number(digits, ext, tonNpi)});
}

Bytes Anr(uint8_t aas, const std::string& digits, uint8_t ext, const Bytes& back = {})
{
    return Concat({Bytes{aas}, Number(digits, ext), back});
}

Bytes Ext(const std::string& digits, uint8_t next)
{
    Bytes record = Concat({Bytes{0x02}, Bytes{static_cast<uint8_t>(SwappedBcd(digits).size())}, SwappedBcd(digits)});
    record.resize(12, 0xFF);
    record.push_back(next);
    return record;
}

std::string Summary(const UsimPhoneBookEntry& entry)
{
    static const char* const problems[] = {"missing", "unused", "chain", "back"};
    std::ostringstream out;
    out << entry.entry << ' ' << entry.set << '/' << entry.record << ' ' << entry.name << ' '
        << (entry.number.empty() ? "-" : entry.number);
    for (const AdditionalNumber& number : entry.additionalNumbers)
        out << " [" << number.label << ':' << number.number << ']';
    for (const std::string& email : entry.emails)
        out << " <" << email << '>';
    if (!entry.secondName.empty())
        out << " (" << entry.secondName << ')';
    for (const std::string& group : entry.groups)
        out << " {" << group << '}';
    if (entry.hidden)
        out << " hidden";
    for (const EntryProblem& problem : entry.problems)
        out << " !" << problems[static_cast<int>(problem.kind)] << ':' << std::hex << std::uppercase
            << problem.fileId << std::dec << '#' << problem.record;
    return out.str();
}

std::string Summary(const SetProblem& problem)
{
    static const char* const kinds[] = {"no-adn", "not-read", "no-iap"};
    std::ostringstream out;
    out << problem.set << ':' << kinds[static_cast<int>(problem.kind)];
    if (problem.fileId)
        out << ':' << std::hex << std::uppercase << problem.fileId;
    return out.str();
}

struct BookCase {
    const char* what;
    std::vector<Bytes> pbr;
    PhoneBookFileRecords files;
    std::vector<std::string> entries;
    std::vector<std::string> setProblems;
};

void PrintTo(const BookCase& c, std::ostream* os)
{
    *os << c.what;
}

class PhoneBookAssemblerTest : public testing::TestWithParam<BookCase> {};

TEST_P(PhoneBookAssemblerTest, LinksEveryFileAndReportsEveryBrokenPointer)
{
    const BookCase& c = GetParam();
    std::vector<PhoneBookSet> sets;
    for (const Bytes& record : c.pbr)
        sets.push_back(DecodePhoneBookReference(record.data(), record.size()));
    const UsimPhoneBook book = AssemblePhoneBook(sets, c.files);
    std::vector<std::string> entries;
    for (const UsimPhoneBookEntry& entry : book.entries)
        entries.push_back(Summary(entry));
    EXPECT_EQ(entries, c.entries);
    std::vector<std::string> problems;
    for (const SetProblem& problem : book.problems)
        problems.push_back(Summary(problem));
    EXPECT_EQ(problems, c.setProblems);
}

const Bytes Unused6(6, 0xFF);

INSTANTIATE_TEST_SUITE_P(
    Books, PhoneBookAssemblerTest,
    testing::Values(
        // The worked example of the developers' notes, byte for byte.
        BookCase{"worked example",
                 {Hex("A814 C0034F3A01 C5034F0905 C4034F1103 C1034F2506 A90A CA034F5008 C3034F1907 "
                      "AA08 C2024F4A C7024F4B FFFFFFFF")},
                 {{0x4F3A, {Hex("416C696365 FFFFFFFFFFFFFFFFFF 0891 94511132547 6F8 FFFFFF FF FF")}},
                  {0x4F25, {Hex("02 01")}},
                  {0x4F50, {Hex("FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF FFFF"),
                            Hex("616C696365 00 6578616D706C652E6F7267 FFFFFF 0101")}},
                  {0x4F19, {Hex("416C69 FFFFFFFFFFFFFF 0101")}},
                  {0x4F11, {Hex("01 0681 3010325476 FFFFFFFFFF FF FF")}},
                  {0x4F4B, {Hex("576F726B FFFF")}},
                  {0x4F4A, {}},
                  {0x4F09, {Hex("0000")}}},
                 {"1 1/1 Alice +4915112345678 [Work:0301234567] <alice@example.org> (Ali)"},
                 {}},
        BookCase{
            "sets, pointers and damage",
            {Concat({Template(0xA8, {{0xC0, 0x4F3A, 1}, {0xC1, 0x4F25, 2}, {0xC5, 0x4F09, 3}, {0xC6, 0x4F26, 4}}),
                     Template(0xA9, {{0xC4, 0x4F11, 5}, {0xCA, 0x4F50, 6}, {0xC4, 0x4F12, 7}}),
                     Template(0xAA, {{0xC2, 0x4F4A}, {0xC7, 0x4F4B}, {0xC8, 0x4F4C}}), Bytes(4, 0xFF)}),
             Bytes(20, 0xFF), // no set
             Concat({Template(0xA8, {{0xC0, 0x4F3B, 8}, {0xC4, 0x4F13, 9}, {0xC3, 0x4F19, 10}, {0xCA, 0x4F51, 11}}),
                     Template(0xAA, {{0xC2, 0x4F4A}, {0xC7, 0x4F4B}})}),
             Template(0xA8, {{0xC4, 0x4F14}}),
             Concat({Template(0xA8, {{0xC0, 0x4F3C}}), Template(0xA9, {{0xCA, 0x4F52}})})},
            {{0x4F3A, {Adn("Ann", "12345", 1, 0x91), Bytes(20, 0xFF), Adn("Bob", "0301"), Hex("4564FFFF")}},
             {0x4F25, {Hex("0102FF"), Hex("FFFFFF"), Hex("020501")}},
             {0x4F09, {Hex("0000"), Hex("0000"), Hex("0001")}},
             {0x4F26, {Hex("0102"), Hex("0000"), Hex("0000")}},
             {0x4F11, {Anr(1, "555", 0xFF, Hex("0101")), Anr(3, "777", 0xFF, Hex("0101"))}},
             {0x4F50, {Concat({Unused6, Hex("FFFF")}), Concat({Gsm("ann@x.org", 10), Hex("0101")})}},
             {0x4F12, {Anr(2, "888", 2, Hex("0103"))}},
             {0x4F4A, {Ext("678", 0xFF), Ext("9", 2)}},
             {0x4F4B, {Gsm("Home", 6), Gsm("Work", 6)}},
             {0x4F4C, {Gsm("Family", 6), Unused6}},
             {0x4F3B, {Adn("Cy", "999"), Adn("Di", "")}},
             {0x4F13, {Anr(0xFF, "4444", 0xFF)}},
             {0x4F19, {Gsm("C.", 6), Unused6}},
             {0x4F3C, {Adn("Eve", "1")}},
             {0x4F52, {Concat({Gsm("e@f", 8), Hex("0101")})}}},
            {"1 1/1 Ann +12345678 [Home:555] <ann@x.org> {Family} !unused:4F4C#2",
             // IAP: ANR record 2 (label 3 missing, back-pointer to record 1), EMAIL record 5 (missing),
             // the second ANR file's record 1 (an extension chain that loops).
             "3 1/3 Bob 0301 [:777] [Work:8889] hidden !back:4F11#1 !missing:4F4B#3 !missing:4F50#5 !chain:4F4A#2",
             "4 1/4 Ed - !missing:4F25#4 !missing:4F09#4 !missing:4F26#4", // cut record beyond the other files
             "5 3/1 Cy 999 [:4444] (C.)",                                   // set 3 numbered after set 1's 4
             "6 3/2 Di - !missing:4F13#2",
             "7 5/1 Eve 1"},
            {"3:not-read:4F51", "4:no-adn", "5:no-iap"}},
        BookCase{"no sets", {Bytes(20, 0xFF), {}}, {{0x4F3A, {Adn("Ann", "1")}}}, {}, {}}));

} // namespace
