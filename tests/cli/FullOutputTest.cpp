// The --full output pieces: the option, vCard folding and escaping, CSV
// quoting, the text view's notes, JSON trees written like the rest, and a
// UICC's content in each output.
#include <gtest/gtest.h>

#include "cli/CliOptions.h"
#include "cli/ContentWords.h"
#include "cli/Csv.h"
#include "cli/FullExport.h"
#include "cli/FullJson.h"
#include "cli/FullSmsJson.h"
#include "cli/FullSmsText.h"
#include "cli/FullText.h"
#include "cli/TerminalText.h"
#include "cli/UiccJson.h"
#include "cli/VCard.h"
#include "tests/sim/TestBytes.h"

namespace {

TEST(ParseCliOptions, Full)
{
    std::string error;
    EXPECT_FALSE(ParseCliOptions({"--json"}, error)->full);
    EXPECT_TRUE(ParseCliOptions({"--full", "--json", "--export", "x"}, error)->full);
    EXPECT_FALSE(ParseCliOptions({"--full=1"}, error));
}

// Physical lines of a folded vCard line, without their CR LF.
std::vector<std::string> PhysicalLines(const std::string& folded)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = folded.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(folded.substr(start, end - start));
    EXPECT_EQ(start, folded.size()) << "does not end with CR LF";
    return lines;
}

std::string Repeat(const std::string& piece, size_t times)
{
    std::string text;
    for (size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

TEST(FoldVCardLine, NoLineAbove75OctetsAndNoSplitCharacter)
{
    for (const std::string& line :
         {std::string("FN:Mum"), "FN:" + Repeat("a", 72), "FN:" + Repeat("a", 73), "FN:" + Repeat("a", 300),
          "FN:" + Repeat("\u00E9", 80), "FN:" + Repeat("\u0E1A", 60), "FN:" + Repeat("\U0001F600", 40),
          "FN:a" + Repeat("\u00E9\u0E1A\U0001F600", 30)}) {
        SCOPED_TRACE(line.size());
        const std::vector<std::string> lines = PhysicalLines(FoldVCardLine(line));
        std::string unfolded;
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_LE(lines[i].size(), 75u);
            if (i > 0) {
                ASSERT_EQ(lines[i][0], ' ');
                EXPECT_NE(static_cast<unsigned char>(lines[i][1]) & 0xC0, 0x80) << "continuation byte first";
            }
            unfolded += i > 0 ? lines[i].substr(1) : lines[i];
            if (i + 1 < lines.size()) {
                EXPECT_GT(lines[i].size(), 71u) << "folded early";
            }
        }
        EXPECT_EQ(unfolded, line);
    }
    EXPECT_EQ(FoldVCardLine("FN:" + Repeat("a", 72)), "FN:" + Repeat("a", 72) + "\r\n");
    EXPECT_EQ(FoldVCardLine("FN:" + Repeat("a", 73)), "FN:" + Repeat("a", 72) + "\r\n a\r\n");
}

TEST(VCardText, EscapesWhatVCardTextReserves)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Smith, John; Jr", "Smith\\, John\\; Jr"},
        {"a\\b", "a\\\\b"},
        {"one\r\ntwo\nthree\rfour", "one\\ntwo\\nthree\\nfour"},
        {"tab\tform\f", "tab form "},
        {"\u00C5sa \u20AC", "\u00C5sa \u20AC"},
    };
    for (const auto& [text, escaped] : cases)
        EXPECT_EQ(VCardText(text), escaped) << text;
}

PhoneBookRecord Record(unsigned number, const char* name, const char* dialled)
{
    PhoneBookRecord record;
    record.record = number;
    record.name = name;
    record.number = dialled;
    return record;
}

TEST(PhoneBookVCards, OneCardPerRecord)
{
    CardContent content;
    content.adn.records = {Record(1, "Mum", "+44"), Record(2, "", "12,3#"), Record(5, "No number", "")};
    content.fdn.records = {Record(1, "Home", "112")};
    // FN is text (the pause escaped), TEL a phone number (written as is).
    EXPECT_EQ(ContactsVcf(content),
              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Mum\r\nN:;Mum;;;\r\nTEL:+44\r\nEND:VCARD\r\n"
              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:12\\,3#\r\nN:;;;;\r\nTEL:12,3#\r\nEND:VCARD\r\n"
              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:No number\r\nN:;No number;;;\r\nEND:VCARD\r\n");
    EXPECT_EQ(ContactsCsv(content), "phoneBook,record,name,number\r\nADN,1,Mum,+44\r\nADN,2,,\"12,3#\"\r\n"
                                    "ADN,5,No number,\r\nFDN,1,Home,112\r\n");
}

// Which --full export files may replace an earlier one: only those whose
// card files were read whole (or are not on the card).
TEST(FullExportFiles, WrittenOnlyFromFilesReadWhole)
{
    struct Case {
        FileState adn, adnExtension, fdn, sms;
        std::vector<std::string> notWhole; // contacts.vcf, contacts.csv, sms.csv
    };
    const std::string refused = "the card refused to read ";
    const Case cases[] = {
        {FileState::Read, FileState::Read, FileState::Read, FileState::Read, {"", "", ""}},
        // A declined PIN: the card refuses what needs it.
        {FileState::Refused, FileState::NotRead, FileState::Refused, FileState::Refused,
         {refused + "EF_ADN", refused + "EF_ADN", refused + "EF_SMS"}},
        // Interrupted in the extension file, before EF_SMS.
        {FileState::Read, FileState::NotRead, FileState::Read, FileState::NotRead,
         {"the read stopped before EF_EXT1 was read whole (numbers of EF_ADN continue there)",
          "the read stopped before EF_EXT1 was read whole (numbers of EF_ADN continue there)",
          "the read stopped before EF_SMS was read whole"}},
        // Files the card lacks are known whole; a file cut short is not.
        {FileState::Read, FileState::Absent, FileState::Incomplete, FileState::Absent,
         {"", "the card stopped answering part of the way through EF_FDN", ""}},
        {FileState::Read, FileState::Incomplete, FileState::Unusable, FileState::Read,
         {"the card stopped answering part of the way through EF_EXT1 (numbers of EF_ADN continue there)",
          "the card stopped answering part of the way through EF_EXT1 (numbers of EF_ADN continue there)", ""}},
    };
    for (const Case& c : cases) {
        CardContent content;
        content.adn.state = c.adn;
        content.adn.extensionState = c.adnExtension;
        content.adn.records = {Record(1, "Mum", "+44"), Record(2, "Long", "+4412345678901234567890")};
        content.adn.records[1].extension.state = ExtensionState::Missing;
        content.fdn.state = c.fdn;
        content.fdn.extensionState = FileState::NotRead; // no FDN record continues
        content.sms.state = c.sms;
        const std::vector<FullExportFile> files = FullExportFiles(content);
        ASSERT_EQ(files.size(), 3u);
        for (size_t i = 0; i < files.size(); ++i)
            EXPECT_EQ(files[i].notWhole, c.notWhole[i]) << files[i].name << " case " << (&c - cases);
    }
    EXPECT_EQ(std::string(FullExportFiles({})[2].name), "sms.csv");
}

TEST(Csv, QuotesOnlyWhatNeedsIt)
{
    const std::pair<const char*, const char*> cases[] = {
        {"plain", "plain"},     {"", ""},
        {"a,b", "\"a,b\""},     {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"l1\r\nl2", "\"l1\r\nl2\""}, {"l1\nl2", "\"l1\nl2\""},
        {"+44,123#", "\"+44,123#\""},
        // What a spreadsheet would run is made text; a plain phone number is not touched.
        {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""}, {"@SUM(A1)", "\"'@SUM(A1)\""},
        {"-2+3", "\"'-2+3\""},        {"+1+cmd|' /C calc'!A0", "\"'+1+cmd|' /C calc'!A0\""},
        {"\tx", "\"'\tx\""},         {"\r=1", "\"'\r=1\""},
        {"+", "\"'+\""},               {"+44 7700", "\"'+44 7700\""},  {"+1E5", "\"'+1E5\""},
        {"+447700900123", "+447700900123"}, {"+*21#?", "+*21#?"},      {"*21#", "*21#"},
        {"a=b", "a=b"},
    };
    for (const auto& [field, written] : cases)
        EXPECT_EQ(CsvField(field), written) << field;
    EXPECT_EQ(CsvRow({"a", "b,c", ""}), "a,\"b,c\",\r\n");
}

TEST(PhoneBooksText, StatesRecordsAndNotes)
{
    CardContent content;
    content.adn.state = FileState::Incomplete;
    content.adn.recordCount = 10;
    content.adn.records = {Record(3, "Two\nlines", "+44"), Record(4, "\u009B2J\u202Eevil", "1")};
    content.adn.records[0].extension.state = ExtensionState::Loop;
    content.adn.records[0].extension.stoppedAt = 2;
    content.fdn.state = FileState::Refused;
    content.msisdn.state = FileState::Absent;
    content.sdn.state = FileState::Unusable;
    content.lnd.state = FileState::Error;
    const std::string text = PhoneBooksText(content);
    for (const char* part : {"Phone book (EF_ADN) : 2 of 10 records used (the card stopped answering part of the way)\n"
                             "  3\tTwo lines\t+44\t(extension records loop back to record 2; number cut there)\n",
                             "  4\t\uFFFD2J\uFFFDevil\t1\n",
                             "Fixed dialling numbers (EF_FDN) : not readable (the card refused it)\n",
                             "Own numbers (EF_MSISDN) : not on the card\n",
                             "Service dialling numbers (EF_SDN) : not readable (its header",
                             "Last numbers dialled (EF_LND) : not readable (the card answered with an error)\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\nin:\n" << text;
}

TEST(TerminalText, ShowsControlsAsAMarker)
{
    const std::tuple<const char*, const char*, const char*> cases[] = { // text, one line, with line ends
        {"a\x1B[2Jb\x7F", "a\uFFFD[2Jb\uFFFD", "a\uFFFD[2Jb\uFFFD"},
        {"\u009B31m\u0080\u009F", "\uFFFD31m\uFFFD\uFFFD", "\uFFFD31m\uFFFD\uFFFD"},
        {"\u202Aa\u202E\u2066b\u2069\u2029", "\uFFFDa\uFFFD\uFFFDb\uFFFD\u2029", "\uFFFDa\uFFFD\uFFFDb\uFFFD\u2029"},
        {"tab\tl1\r\nl2", "tab l1  l2", "tab l1\r\nl2"},
        {"\u00A0\u00E9\u20AC\U0001F600", "\u00A0\u00E9\u20AC\U0001F600", "\u00A0\u00E9\u20AC\U0001F600"},
        {"\xC2\x9B \xC0\x80 \xED\xA0\x80 \xE2\x80", "\uFFFD \uFFFD\uFFFD \uFFFD\uFFFD\uFFFD \uFFFD\uFFFD",
         "\uFFFD \uFFFD\uFFFD \uFFFD\uFFFD\uFFFD \uFFFD\uFFFD"}, // C1 as UTF-8, then ill-formed bytes
    };
    for (const auto& [text, oneLine, lines] : cases) {
        EXPECT_EQ(TerminalText(text, false), oneLine) << text;
        EXPECT_EQ(TerminalText(text, true), lines) << text;
    }
}

// EF_SMS records after their status byte and service centre, each with what
// the text view and the JSON show of it.
TEST(SmsOutput, ShowsWhatEachMessageCarries)
{
    const Bytes centre = Hex("07 91 44 77 00 09 90 99");
    const Bytes sender = Hex("0B 91 44 97 21 43 65 F7");
    const Bytes stamp = Hex("20 80 62 91 73 14 48");
    const struct {
        uint8_t status;
        Bytes tpdu;
        const char* text; // a line of the text view
        nlohmann::ordered_json has, lacks;
    } cases[] = {
        {0x01, Concat({Hex("06 2A"), sender, stamp, stamp, Hex("46")}),
         "    [reference 42, status failed: validity period expired, discharged 2002-08-26T19:37:41-01:00, centre",
         {{"reportStatus", {{"value", 0x46}, {"meaning", "failed: validity period expired"}}}},
         {"alphabet", "text", "protocolId", "dataCodingScheme"}},
        {0x05, Concat({Hex("02 2B 00 01 07"), sender}),
         "    [reference 43, command 1 (cancel its status report request), message number 7, centre",
         {{"commandType", {{"value", 1}, {"meaning", "cancel its status report request"}}}, {"messageNumber", 7},
          {"protocolId", 0}},
         {"alphabet", "text", "dataCodingScheme", "timestamp"}},
        {0x01, Concat({Hex("04"), sender, Hex("00 04"), stamp, Hex("03 41 9B 42")}),
         "    [8bit, 3 octets of 8-bit data (hex in --json), centre +447700900999]\n    A\uFFFDB\n",
         {{"text", "A\u009BB"}, {"userData", "419B42"}, {"alphabet", "8bit"}}, {}},
        {0x01, Concat({Hex("04"), sender, Hex("00 00 20 31 62 91 73 14 48 02 C8 34")}),
         "from +44791234567 (its time stamp is not a valid date)\n", {{"timestampInvalid", true}, {"text", "Hi"}},
         {"timestamp"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        RawCardFile file;
        file.state = FileState::Read;
        file.records = {Concat({Bytes{c.status}, centre, c.tpdu})};
        file.records[0].resize(60, 0xFF);
        const SmsMessages messages = DecodeSmsFile(file);
        ASSERT_EQ(messages.messages.size(), 1u);
        const std::string text = SmsText(messages);
        EXPECT_NE(text.find(c.text), std::string::npos) << text;
        const nlohmann::ordered_json json = SmsJson(messages)["messages"][0];
        for (const auto& [key, value] : c.has.items())
            EXPECT_EQ(json.value(key, nlohmann::ordered_json()), value) << key;
        for (const auto& key : c.lacks)
            EXPECT_FALSE(json.contains(key.get<std::string>())) << key;
    }
}

// Service-centre times as ISO 8601 with the card's offset.
TEST(ContentWords, TimeStamps)
{
    const std::pair<const char*, const char*> cases[] = {
        {"20 80 62 91 73 14 48", "2002-08-26T19:37:41-01:00"}, // four quarters west
        {"99 30 92 51 61 95 80", "1999-03-29T15:16:59+02:00"}, // eight quarters east
        {"11 10 11 71 95 51 40", "2011-01-11T17:59:15+01:00"},
        {"42 21 03 00 00 00 0A", "2024-12-30T00:00:00-05:00"}, // sign bit with a tens digit
        {"96 21 03 00 00 00 35", "2069-12-30T00:00:00+13:15"},
        {"07 21 03 00 00 00 00", "1970-12-30T00:00:00+00:00"},
    };
    for (const auto& [hex, iso] : cases) {
        SmsTime time;
        ASSERT_TRUE(DecodeSmsTime(Hex(hex).data(), time)) << hex;
        EXPECT_EQ(IsoText(time), iso);
    }
    // Values no card decodes to are printed whole, not cut to their digits.
    EXPECT_EQ(IsoText(SmsTime{12345, 1, 2, 3, 4, 5, -1}), "12345-01-02T03:04:05-00:15");
    EXPECT_EQ(IsoText(SmsTime{2024, -1, 2, 3, 4, 5, 0}), "2024--1-02T03:04:05+00:00");
}

// A validity period by its format (the first octet's bits 4-3) and value, as
// the text view and the JSON give it.
TEST(ContentWords, ValidityPeriods)
{
    const std::tuple<uint8_t, const char*, const char*> cases[] = {
        {0x00, "", "none "},
        {0x10, "00", "relative 5 minutes"},
        {0x10, "0B", "relative 1 hour"},
        {0x10, "8F", "relative 12 hours"},
        {0x10, "90", "relative 12 hours 30 minutes"},
        {0x10, "A7", "relative 24 hours"},
        {0x10, "A8", "relative 2 days"},
        {0x10, "C4", "relative 30 days"},
        {0x10, "C5", "relative 5 weeks"},
        {0x10, "FF", "relative 63 weeks"},
        {0x08, "43 00 30 00 00 00 00", "enhanced 00:03:00, single shot"},
        {0x08, "03 21 B3 05 00 00 00", "enhanced 12:3B:50"},        // semi-octets shown as received
        {0x08, "81 00 A7 00 00 00 00", "enhanced 24 hours"},       // a further indicator octet
        {0x08, "02 2D 00 00 00 00 00", "enhanced 45 seconds"},
        {0x08, "81 80 80 80 80 80 80", "enhanced invalid"},        // indicators fill the field
        {0x08, "40 00 00 00 00 00 00", "enhanced none, single shot"},
        {0x08, "05 00 00 00 00 00 00", "enhanced reserved"},
        {0x18, "20 80 62 91 73 14 48", "absolute 2002-08-26T19:37:41-01:00"},
        {0x18, "20 31 62 91 73 14 48", "absolute invalid"},
    };
    for (const auto& [firstOctet, hex, text] : cases) {
        const Bytes value = Hex(hex);
        ASSERT_EQ(value.size(), ValidityPeriodLength(firstOctet)) << text;
        const ValidityPeriod period = DecodeValidityPeriod(firstOctet, value.data());
        EXPECT_EQ(std::string(ValidityFormatName(period.format)) + " " + ValidityText(period), text);
    }
}

TEST(ContentWords, ReportStatus)
{
    const std::pair<uint8_t, const char*> cases[] = {
        {0x00, "completed: received by the recipient"},
        {0x02, "completed: replaced by the service centre"},
        {0x03, "completed: reserved"},
        {0x1F, "completed: specific to the service centre"},
        {0x25, "trying: error in the recipient"},
        {0x26, "trying: reserved"},
        {0x46, "failed: validity period expired"},
        {0x49, "failed: message does not exist"},
        {0x4A, "failed: reserved"},
        {0x61, "stopped: recipient busy"},
        {0x70, "stopped: specific to the service centre"},
        {0x80, "reserved"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(ReportStatusName(DecodeReportStatus(value)), text) << unsigned{value};
}

UsimPhoneBookEntry Entry(unsigned entry, unsigned set, const char* name, const char* number)
{
    UsimPhoneBookEntry made;
    made.entry = entry;
    made.set = set;
    made.record = 1;
    made.name = name;
    made.number = number;
    return made;
}

// A dual UICC whose card text is hostile: control characters, commas,
// semicolons, quotes and line ends in names, labels, e-mails and groups.
CardContent HostileUicc()
{
    CardContent content;
    content.kind = CardKind::UiccWithGsm;
    UiccContent& uicc = content.uicc.emplace();
    uicc.dirState = uicc.iccidState = uicc.imsiState = FileState::Read;
    uicc.applications = {{1, Hex("A0 00 00 00 87 10 02 FF 89"), "USim1", true},
                         {2, Hex("A0 00 00 00 87 10 04"), "I\x1B[2J", false}};
    uicc.iccid = "8944500000000000068";
    uicc.usimSelected = true;
    uicc.imsi = "234150000000068";
    uicc.pin1 = {0x11, false, 3, 10, false};
    uicc.pin2 = {0x81, true, 0, std::nullopt, false};
    uicc.fdnEnabled = true;
    uicc.fdn.state = FileState::Read;
    uicc.fdn.recordCount = 5;
    uicc.fdn.records = {Record(1, "=Home", "112")};
    uicc.sms.state = uicc.msisdn.state = uicc.sdn.state = FileState::Absent;
    UsimPhoneBookContent& global = uicc.globalPhoneBook;
    global.state = FileState::Read;
    global.setCount = 2;
    UsimPhoneBookEntry smith = Entry(1, 1, "Smith, John; Jr\n\u009B", "+44");
    smith.additionalNumbers = {{"+4930", "Work"}, {"123", "a;b,\"c\"\x01"}, {"", "Empty"}};
    smith.emails = {"j@x.org", "=cmd|x;\r\nBCC"};
    smith.secondName = "Johnny;";
    smith.groups = {"Family", "Fri,ends"};
    smith.hidden = true;
    smith.problems = {{EntryProblemKind::MissingRecord, PhoneBookFileKind::Email, 0x4F50, 9},
                      {EntryProblemKind::ExtensionChain, PhoneBookFileKind::Ext1, 0x4F4A, 2, ExtensionState::Loop}};
    UsimPhoneBookEntry nameless = Entry(251, 2, "", "");
    nameless.additionalNumbers = {{"+4477", ""}};
    global.book.entries = {smith, nameless};
    global.book.problems = {{2, SetProblemKind::FileNotRead, PhoneBookFileKind::Email, 0x4F51}};
    uicc.localPhoneBookService = false;
    return content;
}

TEST(UiccOutput, TextShowsEveryPartWithCardTextMadeSafe)
{
    const std::string text = FullText(HostileUicc());
    for (const char* part :
         {"\nCard : UICC with a GSM view", "Applications (EF_DIR) : 2 listed\n"
          "  1\tUSim1\tA0000000871002FF89\t(the USIM read below)\n  2\tI\uFFFD[2J\tA0000000871004\n",
          "ICCID (EF_ICCID) : 8944500000000000068\nUSIM : USim1, A0000000871002FF89\nIMSI (EF_IMSI) : 234150000000068\n",
          "PIN1 (key reference 11, the universal PIN) : disabled, 3 tries left, its unblocking key 10 tries left\n",
          "PIN2 (key reference 81) : enabled, blocked\n", "Fixed dialling (EF_EST service 1) : on\n",
          "Fixed dialling numbers (EF_FDN) : 1 of 5 records used\n  1\t=Home\t112\n",
          "Global phone book (DF_TELECOM/DF_PHONEBOOK) : 2 entries in 2 sets\n"
          "  set 2: EF_EMAIL (4F51) was not read\n"
          "  1\tSmith, John; Jr \uFFFD\t+44\n    Work\t+4930\n    a;b,\"c\"\uFFFD\t123\n"
          "    e-mail\tj@x.org\n    e-mail\t=cmd|x;  BCC\n    second name\tJohnny;\n    groups\tFamily, Fri,ends\n"
          "    hidden (a phone shows it only after its hidden-key code)\n"
          "    (points to record 9 of EF_EMAIL (4F50), which the card did not give)\n"
          "    (a number continues in EF_EXT1 (4F4A): extension records loop back to record 2; number cut there)\n"
          "  251\t\t\n    number\t+4477\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\nin:\n" << text;
    // The GSM view's files the read did not fill in, and a local phone book
    // the USIM does not offer, are left out.
    for (const char* absent : {"Phone book (EF_ADN)", "Last numbers", "Local phone book (USIM"})
        EXPECT_EQ(text.find(absent), std::string::npos) << absent;
}

TEST(UiccOutput, JsonKeepsCardTextAsRead)
{
    const nlohmann::ordered_json full = FullJson(HostileUicc());
    EXPECT_EQ(full.begin().key(), "cardKind");
    EXPECT_EQ(full["cardKind"], "uicc-with-gsm");
    EXPECT_EQ(full["applications"]["records"][1]["label"], "I\x1B[2J");
    const nlohmann::ordered_json& usim = full["usim"];
    EXPECT_EQ(usim["aid"], "A0000000871002FF89");
    EXPECT_EQ(usim["pin1"], nlohmann::ordered_json::parse(
                                R"({"keyReference":17,"enabled":false,"triesLeft":3,"unblockTriesLeft":10,"verified":false})"));
    EXPECT_TRUE(usim["pin2"]["unblockTriesLeft"].is_null());
    EXPECT_TRUE(usim["localPhoneBookService"] == false);
    ASSERT_EQ(usim["phoneBooks"].size(), 1u) << "no local phone book";
    const nlohmann::ordered_json& book = usim["phoneBooks"][0];
    EXPECT_EQ(book["scope"], "global");
    EXPECT_EQ(book["problems"][0], nlohmann::ordered_json::parse(
                                       R"({"set":2,"kind":"file-not-read","file":"email","fileId":"4F51"})"));
    const nlohmann::ordered_json& smith = book["entries"][0];
    EXPECT_EQ(smith["name"], "Smith, John; Jr\n\u009B");
    EXPECT_EQ(smith["additionalNumbers"][1], nlohmann::ordered_json::parse(R"({"number":"123","label":"a;b,\"c\"\u0001"})"));
    EXPECT_EQ(smith["problems"][1], nlohmann::ordered_json::parse(
                                        R"({"kind":"extension-chain","file":"ext1","fileId":"4F4A","record":2,"extension":"loop"})"));
    EXPECT_FALSE(book["entries"][1].contains("problems"));
    EXPECT_EQ(book["entries"][1]["entry"], 251);
    EXPECT_FALSE(FullJson(CardContent{}).contains("cardKind")) << "a GSM SIM's document is as before";
}

TEST(UiccOutput, ExportsEveryValueEscaped)
{
    const CardContent content = HostileUicc();
    EXPECT_EQ(ContactsVcf(content),
              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Smith\\, John\\; Jr\\n\u009B\r\nN:;Smith\\, John\\; Jr\\n\u009B;;;\r\n"
              "NICKNAME:Johnny\\;\r\nTEL:+44\r\nTEL;TYPE=Work:+4930\r\nTEL;TYPE=\"a;b,'c' \":123\r\n"
              "EMAIL;TYPE=INTERNET:j@x.org\r\nEMAIL;TYPE=INTERNET:=cmd|x\\;\\nBCC\r\n"
              "CATEGORIES:Family,Fri\\,ends\r\nCLASS:PRIVATE\r\nEND:VCARD\r\n"
              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:+4477\r\nN:;;;;\r\nTEL:+4477\r\nEND:VCARD\r\n");
    EXPECT_EQ(ContactsCsv(content),
              "phoneBook,record,name,number,entry,set,secondName,hidden,additionalNumber1,additionalNumberLabel1,"
              "additionalNumber2,additionalNumberLabel2,additionalNumber3,additionalNumberLabel3,email1,email2,"
              "group1,group2\r\n"
              "global,1,\"Smith, John; Jr\n\u009B\",+44,1,1,Johnny;,yes,+4930,Work,123,\"a;b,\"\"c\"\"\x01\",,Empty,"
              "j@x.org,\"'=cmd|x;\r\nBCC\",Family,\"Fri,ends\"\r\n"
              "global,1,,,251,2,,no,+4477,,,,,,,,,\r\n"
              "FDN,1,\"'=Home\",112,,,,,,,,,,,,,,\r\n");
}

// Which exports a UICC read may write: its phone books and the USIM's own
// EF_FDN and EF_SMS decide, not the GSM view's copies.
TEST(UiccOutput, ExportsWrittenOnlyFromFilesReadWhole)
{
    struct Case {
        FileState global, local;
        std::optional<bool> localService;
        bool usimSelected;
        std::vector<std::string> notWhole; // contacts.vcf, contacts.csv, sms.csv
    };
    const std::string refused = "the card refused to read ";
    const Case cases[] = {
        {FileState::Read, FileState::NotRead, false, true, {"", "", "the card refused to read EF_SMS"}},
        {FileState::Read, FileState::NotRead, true, true,
         {"the read stopped before the local phone book was read whole",
          "the read stopped before the local phone book was read whole", refused + "EF_SMS"}},
        {FileState::Refused, FileState::Read, std::nullopt, true,
         {refused + "the global phone book", refused + "the global phone book", refused + "EF_SMS"}},
        // No USIM: the GSM view's files stand in.
        {FileState::Absent, FileState::NotRead, std::nullopt, false, {"", refused + "EF_FDN", ""}},
    };
    for (const Case& c : cases) {
        CardContent content = HostileUicc();
        content.fdn.state = FileState::Refused;
        content.sms.state = FileState::Read;
        UiccContent& uicc = *content.uicc;
        uicc.sms.state = FileState::Refused;
        uicc.globalPhoneBook.state = c.global;
        uicc.localPhoneBook.state = c.local;
        uicc.localPhoneBookService = c.localService;
        uicc.usimSelected = c.usimSelected;
        const std::vector<FullExportFile> files = FullExportFiles(content);
        for (size_t i = 0; i < files.size(); ++i)
            EXPECT_EQ(files[i].notWhole, c.notWhole[i]) << files[i].name << " case " << (&c - cases);
    }
}

} // namespace
