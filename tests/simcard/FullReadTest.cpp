// The full read of velmora-cli --full in process against the card model:
// what it asks the card after the dialog's read, what a refused PIN leaves,
// and a card pulled out after each of its commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <tuple>

#include "FakePcsc.h"
#include "ModelDouble.h"
#include "SimReadout.h"
#include "card/CardReaderList.h"
#include "card/CardContentReader.h"
#include "sim/Instructions.h"
#include "sim/SimFiles.h"
#include "tools/simcard/ProfileLoader.h"

namespace {

const char* const ReaderName = "Reader 0";

// A card in the reader, read as the dialog reads it with `pin` while the
// exchanges are kept for the full read.
class FullRead {
public:
    FullRead(const std::string& profilePath, const std::u16string& pin)
        : m_card(Insert(profilePath))
    {
        EXPECT_EQ(m_list.ListReaders(), 0);
        Reader().SetObserver(&m_received);
        const SimReadout readout = ReadSim(Reader(), pin);
        m_interrupted = std::any_of(readout.errors.begin(), readout.errors.end(), IsTransportError);
        m_start = fake_pcsc::Calls().size();
    }

    // A transport error stopped the dialog's read: velmora-cli reads no more.
    bool Interrupted() const { return m_interrupted; }

    CCardReader& Reader() { return *m_list.GetReader(0); }
    simcard::SimCard& Card() { return m_card; }
    LONG ReadFull(CardContent& content) { return ReadCardContent(Reader(), m_received, content); }
    // The transmits of the dialog's read and of what followed it.
    std::vector<fake_pcsc::Call> DialogTransmits() const { return Transmits(0, m_start); }
    std::vector<fake_pcsc::Call> FullTransmits() const { return Transmits(m_start, fake_pcsc::Calls().size()); }
    size_t Sent() const { return FullTransmits().size(); }

private:
    static simcard::SimCard& Insert(const std::string& profilePath)
    {
        fake_pcsc::Reset();
        fake_pcsc::SetReaders({ReaderName});
        return model_double::InsertCard(ReaderName, profilePath);
    }
    static std::vector<fake_pcsc::Call> Transmits(size_t from, size_t to)
    {
        std::vector<fake_pcsc::Call> transmits;
        for (size_t i = from; i < to; ++i) {
            if (fake_pcsc::Calls()[i].function == "SCardTransmit")
                transmits.push_back(fake_pcsc::Calls()[i]);
        }
        return transmits;
    }

    simcard::SimCard& m_card;
    CCardReaderList m_list;
    ReceivedFiles m_received;
    size_t m_start = 0;
    bool m_interrupted = false;
};

// Follows a trace as the card does: which directory and file each SELECT
// the card accepted made current, and how often each record of each file was
// received with 90 00.
class TraceWalk {
public:
    using RecordKey = std::tuple<uint16_t, uint16_t, uint8_t>; // directory, file, record

    void Follow(const std::vector<fake_pcsc::Call>& transmits)
    {
        for (const fake_pcsc::Call& call : transmits) {
            const auto& c = call.command;
            const auto& r = call.response;
            const bool ok = call.result == 0 && r.size() >= 2 && r[r.size() - 2] == 0x90 && r.back() == 0x00;
            if (c.size() == 7 && c[1] == InsSelect && call.result == 0 && r.size() == 2 && r[0] == 0x9F) {
                const uint16_t id = static_cast<uint16_t>(c[5] << 8 | c[6]);
                if (simfile::IsDirectoryId(id)) {
                    m_directory = id;
                    ++directorySelects[id];
                }
                m_file = id;
            } else if (c.size() == 5 && c[1] == InsReadRecord && ok) {
                ++recordReads[{m_directory, m_file, c[2]}];
            }
        }
    }

    std::map<uint16_t, unsigned> directorySelects;
    std::map<RecordKey, unsigned> recordReads;

private:
    uint16_t m_directory = 0;
    uint16_t m_file = 0;
};

class FullReadTest : public ::testing::Test {
protected:
    void SetUp() override { fake_pcsc::SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; }); }
    void TearDown() override
    {
        model_double::RemoveAll();
        fake_pcsc::SetFailureHandler({});
    }
};

// Every shipped profile, with the PIN given and declined: over the dialog's
// read and the full read together no record is received twice, and the full
// read selects each directory once at most.
TEST_F(FullReadTest, EveryRecordIsReadOnceAndEachDirectorySelectedOnce)
{
    for (const auto& entry : std::filesystem::directory_iterator(VELMORA_PROFILES_DIR)) {
        if (entry.path().extension() != ".json")
            continue;
        for (const std::u16string& pin : {std::u16string(u"1234"), std::u16string()}) {
            SCOPED_TRACE(entry.path().filename().string() + (pin.empty() ? " (PIN declined)" : ""));
            FullRead read(entry.path().string(), pin);
            if (read.Interrupted())
                continue;
            CardContent content;
            read.ReadFull(content);
            TraceWalk whole;
            whole.Follow(read.DialogTransmits());
            whole.Follow(read.FullTransmits());
            for (const auto& [record, times] : whole.recordReads)
                EXPECT_EQ(times, 1u) << std::hex << std::get<0>(record) << "/" << std::get<1>(record) << " record "
                                     << std::dec << int(std::get<2>(record));
            TraceWalk full;
            full.Follow(read.FullTransmits());
            for (const auto& [directory, times] : full.directorySelects)
                EXPECT_EQ(times, 1u) << std::hex << directory;
            EXPECT_EQ(read.Card().Counts().writes, 0u);
        }
    }
}

TEST_F(FullReadTest, AfterTheDialogsReadOnlyTheFilesItLacksAreAsked)
{
    struct Case {
        const char* profile;
        size_t selects; // MF, DF_TELECOM, DF_GSM and the files the dialog did not read
    };
    // demo: EF_MSISDN, EF_SDN, EF_LND, EF_SPN; rich: also EF_EXT1 and EF_EXT2.
    for (const Case& c : {Case{"demo", 7}, Case{"rich", 9}}) {
        SCOPED_TRACE(c.profile);
        FullRead read(model_double::ProfilePath(c.profile), u"1234");
        CardContent content;
        EXPECT_EQ(read.ReadFull(content), 0);
        size_t selects = 0;
        for (const fake_pcsc::Call& call : read.FullTransmits())
            selects += call.command.size() > 1 && call.command[1] == InsSelect;
        EXPECT_EQ(selects, c.selects);
        EXPECT_EQ(content.adn.state, FileState::Read);
        // The records taken left what was received: a second read asks the
        // card for them and gets the same.
        const size_t sent = read.Sent();
        CardContent again;
        EXPECT_EQ(read.ReadFull(again), 0);
        EXPECT_GT(read.Sent() - sent, content.adn.recordCount);
        ASSERT_EQ(again.adn.records.size(), content.adn.records.size());
        for (size_t i = 0; i < content.adn.records.size(); ++i)
            EXPECT_EQ(again.adn.records[i].name, content.adn.records[i].name);
    }
}

TEST_F(FullReadTest, WithoutThePinTheProtectedFilesAreRefused)
{
    FullRead read(model_double::ProfilePath("rich"), u"");
    CardContent content;
    EXPECT_EQ(read.ReadFull(content), 0);
    for (const PhoneBook* book : {&content.adn, &content.fdn, &content.msisdn, &content.sdn, &content.lnd}) {
        EXPECT_EQ(book->state, FileState::Refused) << book->fileId;
        EXPECT_TRUE(book->records.empty());
    }
    EXPECT_EQ(content.spnState, FileState::Read); // readable always
    ASSERT_TRUE(content.spn);
    EXPECT_EQ(content.spn->name.text, "Velmora Mobile");
}

TEST_F(FullReadTest, CardPulledAfterEachCommandStopsTheReadWithTheTransportError)
{
    size_t total = 0;
    {
        FullRead read(model_double::ProfilePath("rich"), u"1234");
        CardContent content;
        ASSERT_EQ(read.ReadFull(content), 0);
        total = read.Sent();
    }
    ASSERT_GT(total, 20u);
    for (size_t n = 0; n < total; ++n) {
        SCOPED_TRACE("card pulled after " + std::to_string(n) + " commands of the full read");
        FullRead read(model_double::ProfilePath("rich"), u"1234");
        model_double::RemoveCardAfter(ReaderName, n);
        CardContent content;
        EXPECT_TRUE(IsTransportError(read.ReadFull(content)));
        EXPECT_EQ(read.Sent(), n + 1); // the first failing exchange ends it
        for (const PhoneBook* book : {&content.adn, &content.fdn, &content.msisdn, &content.sdn, &content.lnd})
            EXPECT_LE(book->records.size(), book->recordCount);
        // What the dialog's read received stays whatever the full read lost.
        EXPECT_EQ(content.adn.records.size(), 17u);
        if (n + 1 == total) { // only the READ BINARY of EF_SPN, the last file, is cut: all before stays
            EXPECT_EQ(content.lnd.records.size(), 2u);
            EXPECT_EQ(content.spnState, FileState::NotRead);
        }
    }
}

// What the dialog's read received, as the full read is told it: the record
// refused before PIN1 was verified is asked again, a file not found is not.
TEST(ReceivedFilesTest, KeepsRecordsRefusalsUntilVerifiedAndAbsentFiles)
{
    using Bytes = std::vector<uint8_t>;
    const std::vector<std::pair<Bytes, Bytes>> exchanges = {
        {{0xA0, 0xA4, 0, 0, 2, 0x3F, 0x00}, {0x9F, 0x17}},
        {{0xA0, 0xA4, 0, 0, 2, 0x7F, 0x10}, {0x9F, 0x17}},
        {{0xA0, 0xA4, 0, 0, 2, 0x6F, 0x3B}, {0x94, 0x04}},
        {{0xA0, 0xA4, 0, 0, 2, 0x6F, 0x3A}, {0x9F, 0x0F}},
        {{0xA0, 0xC0, 0, 0, 15}, {0, 0, 0, 56, 0x6F, 0x3A, 4, 0, 0x11, 0xF0, 0x44, 1, 2, 1, 28, 0x90, 0}},
        {{0xA0, 0xB2, 1, 4, 28}, {0xAA, 0x90, 0x00}},
        {{0xA0, 0xB2, 2, 4, 28}, {0x98, 0x04}},
        // The UICC's commands are not the GSM read's, and leave the card
        // somewhere the watcher does not follow.
        {{0x00, 0xB2, 3, 4, 28}, {0xBB, 0x90, 0x00}},
        {{0xA0, 0xB2, 4, 4, 28}, {0xCC, 0x90, 0x00}},
    };
    ReceivedFiles received;
    for (const auto& [command, answer] : exchanges) {
        received.OnCommand(command.data(), command.size());
        received.OnResponse(0, answer.data(), answer.size());
    }
    ASSERT_NE(received.Find(simfile::DfTelecom, simfile::EfFdn), nullptr);
    EXPECT_EQ(received.Find(simfile::DfTelecom, simfile::EfFdn)->failedSelectStatus, 0x9404);
    const ReceivedFile* adn = received.Find(simfile::DfTelecom, simfile::EfAdn);
    ASSERT_NE(adn, nullptr);
    EXPECT_EQ(adn->header.size(), 15u);
    EXPECT_EQ(adn->records.size(), 1u);
    EXPECT_EQ(adn->records.at(1).second, Bytes{0xAA});
    EXPECT_EQ(adn->refusedRecord, 2u);
    const Bytes verify = {0xA0, 0x20, 0, 1, 8, '1', '2', '3', '4', 0xFF, 0xFF, 0xFF, 0xFF};
    const Bytes ok = {0x90, 0x00};
    received.OnCommand(verify.data(), verify.size());
    received.OnResponse(0, ok.data(), ok.size());
    EXPECT_EQ(adn->refusedRecord, 0u);
    EXPECT_EQ(received.Find(simfile::DfGsm, simfile::EfAdn), nullptr);
}

} // namespace
