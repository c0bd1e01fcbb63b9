// The full read of velmora-cli --full in process against the card model:
// which files it selects, what a refused PIN leaves, and a card pulled out
// after each of its commands.
#include <gtest/gtest.h>

#include "FakePcsc.h"
#include "ModelDouble.h"
#include "SimReadout.h"
#include "card/CardReaderList.h"
#include "card/FullCardReader.h"
#include "tools/simcard/ProfileLoader.h"

namespace {

const char* const ReaderName = "Reader 0";
constexpr uint8_t InsSelect = 0xA4;

// A card in the reader, read as the dialog reads it with `pin`.
class FullRead {
public:
    FullRead(const std::string& profile, const std::u16string& pin)
        : m_card(Insert(profile))
    {
        EXPECT_EQ(m_list.ListReaders(), 0);
        ReadSim(Reader(), pin);
        fake_pcsc::ClearCalls();
    }

    CCardReader& Reader() { return *m_list.GetReader(0); }
    simcard::SimCard& Card() { return m_card; }
    // Commands (of one instruction) sent since the dialog's read.
    static size_t Sent(uint8_t ins)
    {
        size_t count = 0;
        for (const auto& command : fake_pcsc::SentCommands())
            count += command.size() > 1 && command[1] == ins;
        return count;
    }
    static size_t Sent() { return fake_pcsc::SentCommands().size(); }

private:
    static simcard::SimCard& Insert(const std::string& profile)
    {
        fake_pcsc::Reset();
        fake_pcsc::SetReaders({ReaderName});
        return model_double::InsertCard(ReaderName, model_double::ProfilePath(profile));
    }

    simcard::SimCard& m_card;
    CCardReaderList m_list;
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

TEST_F(FullReadTest, SelectsEachExtensionFileOnlyWhenARecordNamesIt)
{
    struct Case {
        const char* profile;
        size_t files; // the five phone books, EF_SPN and EF_SMS, and the extension files needed
    };
    for (const Case& c : {Case{"demo", 7}, Case{"rich", 9}}) { // rich: EXT1 (ADN) and EXT2 (FDN)
        SCOPED_TRACE(c.profile);
        FullRead read(c.profile, u"1234");
        FullCardContent content;
        EXPECT_EQ(ReadFullCard(read.Reader(), content), 0);
        EXPECT_EQ(read.Sent(InsSelect), 3 * c.files); // MF, directory, file
        EXPECT_EQ(read.Card().Counts().writes, 0u);
        EXPECT_EQ(content.adn.state, FileState::Read);
    }
}

TEST_F(FullReadTest, WithoutThePinTheProtectedFilesAreRefused)
{
    FullRead read("rich", u"");
    FullCardContent content;
    EXPECT_EQ(ReadFullCard(read.Reader(), content), 0);
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
        FullRead read("rich", u"1234");
        FullCardContent content;
        ASSERT_EQ(ReadFullCard(read.Reader(), content), 0);
        total = read.Sent();
    }
    ASSERT_GT(total, 60u);
    for (size_t n = 0; n < total; ++n) {
        SCOPED_TRACE("card pulled after " + std::to_string(n) + " commands of the full read");
        FullRead read("rich", u"1234");
        model_double::RemoveCardAfter(ReaderName, n);
        FullCardContent content;
        EXPECT_TRUE(IsTransportError(ReadFullCard(read.Reader(), content)));
        EXPECT_EQ(read.Sent(), n + 1); // the first failing exchange ends it
        for (const PhoneBook* book : {&content.adn, &content.fdn, &content.msisdn, &content.sdn, &content.lnd})
            EXPECT_LE(book->records.size(), book->recordCount);
        if (n + 1 == total) { // only the SELECT of EF_SMS (this card has none) is cut: all before stays
            EXPECT_EQ(content.adn.records.size(), 17u);
            EXPECT_EQ(content.lnd.records.size(), 2u);
            EXPECT_EQ(content.spnState, FileState::Read);
            EXPECT_EQ(content.sms.state, FileState::NotRead);
        }
    }
}

} // namespace
