// The UICC read of velmora-cli --full in process against the card model, on
// the dual and the USIM-only profile: what it finds against what the
// profile says a correct reader shows, and how it treats the card (no
// write, no record twice, each directory once, PIN1 only as the rule allows).
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <tuple>

#include "FakePcsc.h"
#include "ModelDouble.h"
#include "SimReadout.h"
#include "card/CardContentReader.h"
#include "card/CardReaderList.h"
#include "card/UiccReader.h"
#include "sim/Instructions.h"
#include "sim/uicc/FileControlParameters.h"

namespace {

const char* const ReaderName = "Reader 0";
using Json = nlohmann::json;

std::vector<Json> AsList(const std::vector<std::string>& values)
{
    return {values.begin(), values.end()};
}

Json EntryJson(const UsimPhoneBookEntry& e)
{
    Json numbers = Json::array();
    for (const AdditionalNumber& n : e.additionalNumbers)
        numbers.push_back({{"number", n.number}, {"label", n.label}});
    return {{"entry", e.entry},         {"set", e.set},          {"record", e.record},
            {"name", e.name},           {"number", e.number},    {"additionalNumbers", numbers},
            {"emails", AsList(e.emails)}, {"secondName", e.secondName}, {"groups", AsList(e.groups)},
            {"hidden", e.hidden}};
}

Json RecordsJson(const PhoneBook& book)
{
    Json records = Json::array();
    for (const PhoneBookRecord& r : book.records)
        records.push_back({{"record", r.record}, {"name", r.name}, {"number", r.number}});
    return records;
}

// Follows the trace: how often each directory was selected, each record
// received with 90 00 (by the directory and file selected before it), and
// each PIN presented.
struct UiccTrace {
    std::map<std::vector<uint8_t>, unsigned> directorySelects;
    std::map<std::tuple<std::vector<uint8_t>, uint16_t, uint8_t>, unsigned> recordReads;
    unsigned pinsPresented = 0;
    unsigned fetches = 0;

    explicit UiccTrace(const std::vector<fake_pcsc::Call>& calls)
    {
        std::vector<uint8_t> directory;
        uint16_t file = 0;
        for (const fake_pcsc::Call& call : calls) {
            const auto& c = call.command;
            const auto& r = call.response;
            if (call.function != "SCardTransmit" || c.size() < 4 || c[0] == 0xA0)
                continue;
            const bool answered = r.size() >= 2 && (r[r.size() - 2] == 0x61 || r[r.size() - 2] == 0x90);
            fetches += c[1] == 0x12;
            pinsPresented += c[1] == InsVerify && c.size() > 5;
            if (c[1] == InsSelect && answered && c.size() > 5) {
                const std::vector<uint8_t> id(c.begin() + 5, c.begin() + 5 + c[4]);
                const bool isDirectory = c[2] != 0x00 || id[0] == 0x3F || id[0] == 0x5F || id[0] == 0x7F;
                if (isDirectory) {
                    directory = id;
                    ++directorySelects[id];
                } else {
                    file = static_cast<uint16_t>(id[0] << 8 | id[1]);
                }
            } else if (c[1] == InsReadRecord && answered) {
                ++recordReads[{directory, file, c[2]}];
            }
        }
    }
};

class UiccReadTest : public ::testing::Test {
protected:
    void SetUp() override { fake_pcsc::SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; }); }
    void TearDown() override
    {
        model_double::RemoveAll();
        fake_pcsc::SetFailureHandler({});
    }
};

TEST_F(UiccReadTest, ReadsTheUsimAsTheProfileSaysAndOnlyAsTheRulesAllow)
{
    struct Case {
        const char* profile;
        std::u16string pin; // typed in the dialog (usim) or at the prompt (usim-only); empty: declined
        CardKind kind;
        unsigned presented; // VERIFY with a PIN sent by the UICC read
    };
    for (const Case& c : {Case{"usim", u"1234", CardKind::UiccWithGsm, 0}, Case{"usim-only", u"1234", CardKind::Uicc, 1},
                          Case{"usim-only", u"", CardKind::Uicc, 0}, Case{"usim-full", u"1234", CardKind::UiccWithGsm, 0}}) {
        SCOPED_TRACE(std::string(c.profile) + (c.pin.empty() ? " (PIN declined)" : ""));
        fake_pcsc::Reset();
        fake_pcsc::SetReaders({ReaderName});
        const std::string path = model_double::ProfilePath(c.profile);
        simcard::SimCard& card = model_double::InsertCard(ReaderName, path);
        CCardReaderList list;
        ASSERT_EQ(list.ListReaders(), 0);
        CCardReader& reader = *list.GetReader(0);
        ReceivedFiles received;
        reader.SetObserver(&received);
        const SimReadout readout = ReadSim(reader, c.kind == CardKind::UiccWithGsm ? c.pin : u"");
        ASSERT_EQ(readout.isGsm, c.kind == CardKind::UiccWithGsm);
        CardContent content;
        if (readout.isGsm) {
            ASSERT_EQ(ReadCardContent(reader, received, content), 0);
        }
        const size_t start = fake_pcsc::Calls().size();
        UiccPinSource pins;
        pins.accepted = received.AcceptedPin1();
        unsigned asked = 0;
        if (!readout.isGsm)
            pins.ask = [&](int triesLeft, std::u16string& pin) {
                ++asked;
                EXPECT_EQ(triesLeft, 3);
                pin = c.pin;
                return !c.pin.empty();
            };
        ASSERT_EQ(ReadUicc(reader, readout.isGsm, pins, content), 0);

        EXPECT_EQ(content.kind, c.kind);
        ASSERT_TRUE(content.uicc);
        const UiccContent& u = *content.uicc;
        Json expect;
        std::ifstream(path) >> expect;
        expect = expect["expect"]["usim"];
        ASSERT_GE(u.applications.size(), 1u);
        EXPECT_EQ(u.applications[0].label, expect["label"]);
        EXPECT_EQ(u.iccid, expect["iccid"]);
        EXPECT_TRUE(u.usimSelected);
        EXPECT_EQ(u.pin1.enabled, expect["pin1"]["enabled"].get<bool>());
        EXPECT_EQ(u.pin1.triesLeft, expect["pin1"]["triesLeft"].get<int>());
        EXPECT_EQ(u.pin2.triesLeft, expect["pin2"]["triesLeft"].get<int>());
        EXPECT_EQ(u.pin1.unblockTriesLeft, expect["puk1TriesLeft"].get<int>());
        EXPECT_EQ(u.pin2.unblockTriesLeft, expect["puk2TriesLeft"].get<int>());
        EXPECT_EQ(asked, readout.isGsm ? 0u : 1u);

        const UiccTrace trace({fake_pcsc::Calls().begin() + static_cast<std::ptrdiff_t>(start), fake_pcsc::Calls().end()});
        EXPECT_EQ(trace.pinsPresented, c.presented);
        EXPECT_EQ(trace.fetches, 0u);
        EXPECT_EQ(card.Counts().writes, 0u);
        for (const auto& [directory, times] : trace.directorySelects)
            EXPECT_EQ(times, 1u) << directory.size();
        for (const auto& [record, times] : trace.recordReads)
            EXPECT_EQ(times, 1u) << std::hex << std::get<1>(record) << " record " << std::dec << int(std::get<2>(record));

        if (c.pin.empty()) { // everything past the ADF needs PIN1: refused, and the walk went on to the end
            EXPECT_EQ(u.imsiState, FileState::Refused);
            EXPECT_EQ(u.globalPhoneBook.state, FileState::Refused);
            EXPECT_FALSE(u.refused.empty());
            continue;
        }
        EXPECT_EQ(u.imsi, expect["imsi"]);
        EXPECT_EQ(u.fdnEnabled, expect["fdnEnabled"].get<bool>());
        EXPECT_EQ(RecordsJson(u.msisdn), expect["msisdn"]);
        EXPECT_EQ(RecordsJson(u.fdn), expect["fdn"]);
        EXPECT_EQ(RecordsJson(u.sdn), expect["sdn"]);
        ASSERT_TRUE(u.spn);
        EXPECT_EQ(u.spn->name.text, expect["spn"]["name"]);
        EXPECT_EQ(u.sms.messages.size(), expect["sms"].size());
        ASSERT_EQ(expect["phoneBooks"].size(), 2u);
        const std::pair<const UsimPhoneBookContent*, const char*> books[] = {{&u.globalPhoneBook, "global"},
                                                                            {&u.localPhoneBook, "local"}};
        for (const auto& [book, scope] : books) {
            Json entries = Json::array();
            for (const UsimPhoneBookEntry& entry : book->book.entries)
                entries.push_back(EntryJson(entry));
            for (const Json& expected : expect["phoneBooks"]) {
                if (expected["scope"] == scope) {
                    EXPECT_EQ(entries, expected["entries"]) << scope;
                }
            }
        }
    }
}

} // namespace

namespace {

// A reset after the dialog's read loses PIN1's verification: the entry the
// card accepted is presented once more, and only when more than one try is
// left; a card that kept it is not asked again.
TEST_F(UiccReadTest, TheDialogsEntryIsPresentedOnceOnlyWhenAResetLostIt)
{
    for (const bool lost : {true, false}) {
        SCOPED_TRACE(lost ? "reset" : "kept");
        fake_pcsc::Reset();
        fake_pcsc::SetReaders({ReaderName});
        model_double::InsertCard(ReaderName, model_double::ProfilePath("usim"));
        CCardReaderList list;
        ASSERT_EQ(list.ListReaders(), 0);
        CCardReader& reader = *list.GetReader(0);
        ReceivedFiles received;
        reader.SetObserver(&received);
        ASSERT_TRUE(ReadSim(reader, u"1234").pinVerified);
        ASSERT_TRUE(received.AcceptedPin1());
        if (lost) {
            ASSERT_EQ(reader.ResetCard(), 0);
        }
        UiccCommands commands(reader);
        const UiccAnswer adf = commands.SelectByAid({0xA0, 0x00, 0x00, 0x00, 0x87, 0x10, 0x02});
        ASSERT_TRUE(adf.Ok());
        const auto pins = DecodeFileControlParameters(adf.data.data(), adf.data.size()).pinStatus;
        ASSERT_TRUE(pins);
        const size_t start = fake_pcsc::Calls().size();
        UiccPinSource source;
        source.accepted = received.AcceptedPin1();
        source.verificationLost = lost;
        UiccContent content;
        ASSERT_EQ(CheckUiccPins(commands, &*pins, source, content), 0);
        EXPECT_TRUE(content.pin1.verified);
        const UiccTrace trace({fake_pcsc::Calls().begin() + static_cast<std::ptrdiff_t>(start), fake_pcsc::Calls().end()});
        EXPECT_EQ(trace.pinsPresented, lost ? 1u : 0u);
        // The card agrees: IMSI, readable with PIN1 only, is read.
        EXPECT_TRUE(commands.SelectById(0x6F07).Ok());
        EXPECT_TRUE(commands.ReadBinary(0, 9).Ok());
    }
}

} // namespace
