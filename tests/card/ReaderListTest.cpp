// CCardReaderList: the context, the listing and the order of release.
#include <string>
#include <vector>

#include "CardTest.h"
#include "sim/ResultCodes.h"

namespace card_test {
namespace {

std::vector<std::string> ReaderNames(size_t count)
{
    std::vector<std::string> names;
    for (size_t i = 0; i < count; ++i)
        names.push_back("Reader " + std::to_string(i));
    return names;
}

std::vector<std::string> StoredNames(const CCardReaderList& list)
{
    std::vector<std::string> names;
    for (unsigned i = 0; i < list.GetReaderCount(); ++i)
        names.push_back(pcsc::ReaderNameToUtf8(list.GetReader(i)->GetName()));
    return names;
}

const std::string Establish = "SCardEstablishContext(scope=0, reserved1=null, reserved2=null)";
const std::string List1 = "SCardListReaders(ctx#1, groups=null, readers=given, length=AUTOALLOCATE)";
const std::string Free1 = "SCardFreeMemory(ctx#1, memory=listed)";

struct ListingCase {
    const char* name;
    size_t attached;
    unsigned stored;
    std::vector<std::string> calls;
};
CARD_TEST_PRINTS_NAME(ListingCase)

class ListingTest : public CardTest, public ::testing::WithParamInterface<ListingCase> {};

TEST_P(ListingTest, StoresTheFirstTenReadersInListingOrder)
{
    const ListingCase& c = GetParam();
    fake_pcsc::SetReaders(ReaderNames(c.attached));
    CCardReaderList list;

    EXPECT_EQ(list.ListReaders(), 0);

    EXPECT_EQ(list.GetReaderCount(), c.stored);
    EXPECT_EQ(StoredNames(list), ReaderNames(c.stored));
    EXPECT_EQ(list.GetReader(c.stored), nullptr);
    EXPECT_EQ(list.GetReader(MAX_READERS), nullptr);
    EXPECT_EQ(fake_pcsc::CallTexts(), c.calls);
    EXPECT_EQ(fake_pcsc::UnfreedBufferCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Readers, ListingTest,
                         ::testing::Values(ListingCase{"none", 0, 0, {Establish, List1}},
                                           ListingCase{"two", 2, 2, {Establish, List1, Free1}},
                                           ListingCase{"ten", 10, 10, {Establish, List1, Free1}},
                                           ListingCase{"twelve", 12, 10, {Establish, List1, Free1}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CardTest, NewListHasNoReaders)
{
    CCardReaderList list;
    EXPECT_EQ(list.GetReaderCount(), 0u);
    EXPECT_EQ(list.GetReader(0), nullptr);
    EXPECT_TRUE(fake_pcsc::Calls().empty());
}

TEST_F(CardTest, ListingAgainWithValidContextKeepsTheTable)
{
    fake_pcsc::SetReaders(ReaderNames(2));
    CCardReaderList list;
    ASSERT_EQ(list.ListReaders(), 0);
    fake_pcsc::AddReader("Attached later");
    fake_pcsc::ClearCalls();

    EXPECT_EQ(list.ListReaders(), 0);

    EXPECT_EQ(StoredNames(list), ReaderNames(2));
    EXPECT_EQ(fake_pcsc::CallTexts(), std::vector<std::string>{"SCardIsValidContext(ctx#1)"});
}

TEST_F(CardTest, InvalidContextIsReleasedAndReadersListedAgain)
{
    fake_pcsc::SetReaders(ReaderNames(2));
    CCardReaderList list;
    ASSERT_EQ(list.ListReaders(), 0);
    ASSERT_EQ(list.GetReader(0)->Connect(SCARD_PROTOCOL_T0), 0);
    fake_pcsc::AddReader("Attached later");
    fake_pcsc::InvalidateContexts();
    fake_pcsc::ClearCalls();

    EXPECT_EQ(list.ListReaders(), 0);

    std::vector<std::string> names = ReaderNames(2);
    names.push_back("Attached later");
    EXPECT_EQ(StoredNames(list), names);
    EXPECT_EQ(fake_pcsc::CallTexts(),
              (std::vector<std::string>{"SCardIsValidContext(ctx#1)", "SCardDisconnect(card#1, disposition=1)",
                                        "SCardReleaseContext(ctx#1)", Establish,
                                        "SCardListReaders(ctx#2, groups=null, readers=given, length=AUTOALLOCATE)",
                                        "SCardFreeMemory(ctx#2, memory=listed)"}));
    EXPECT_EQ(fake_pcsc::OpenContextCount(), 1u);
    EXPECT_EQ(fake_pcsc::OpenCardCount(), 0u);
}

TEST_F(CardTest, FailedEstablishIsReturnedAndRetriedNextTime)
{
    const long noService = static_cast<long>(0x8010001DUL);
    fake_pcsc::SetReaders(ReaderNames(1));
    fake_pcsc::FailEstablishContext(noService);
    CCardReaderList list;

    EXPECT_EQ(list.ListReaders(), noService) << R(list.ListReaders());
    EXPECT_EQ(list.GetReaderCount(), 0u);
    EXPECT_EQ(fake_pcsc::OpenContextCount(), 0u);

    fake_pcsc::FailEstablishContext(0);
    fake_pcsc::ClearCalls();
    EXPECT_EQ(list.ListReaders(), 0);
    EXPECT_EQ(list.GetReaderCount(), 1u);
    EXPECT_EQ(fake_pcsc::CallNames(),
              (std::vector<std::string>{"SCardEstablishContext", "SCardListReaders", "SCardFreeMemory"}));
}

TEST_F(CardTest, ListingErrorIsHiddenAndTheContextKept)
{
    fake_pcsc::SetReaders(ReaderNames(2));
    fake_pcsc::FailListReaders(static_cast<long>(0x80100017UL)); // reader unavailable
    CCardReaderList list;

    EXPECT_EQ(list.ListReaders(), 0);

    EXPECT_EQ(list.GetReaderCount(), 0u);
    EXPECT_EQ(list.GetReader(0), nullptr);
    EXPECT_EQ(fake_pcsc::OpenContextCount(), 1u);
    EXPECT_EQ(fake_pcsc::CallTexts(), (std::vector<std::string>{Establish, List1}));
}

TEST_F(CardTest, DestroyingTheListDisconnectsWithResetBeforeReleasingTheContext)
{
    fake_pcsc::SetReaders(ReaderNames(3));
    {
        CCardReaderList list;
        ASSERT_EQ(list.ListReaders(), 0);
        ASSERT_EQ(list.GetReader(0)->Connect(SCARD_PROTOCOL_T0), 0);
        ASSERT_EQ(list.GetReader(2)->Connect(SCARD_PROTOCOL_T0), 0);
        fake_pcsc::ClearCalls();
    }
    EXPECT_EQ(fake_pcsc::CallTexts(),
              (std::vector<std::string>{"SCardDisconnect(card#1, disposition=1)",
                                        "SCardDisconnect(card#2, disposition=1)", "SCardReleaseContext(ctx#1)"}));
    EXPECT_EQ(fake_pcsc::OpenContextCount(), 0u);
    EXPECT_EQ(fake_pcsc::OpenCardCount(), 0u);
}

TEST_F(CardTest, ReleaseAllEmptiesTheTableAndAllowsListingAgain)
{
    fake_pcsc::SetReaders(ReaderNames(2));
    CCardReaderList list;
    ASSERT_EQ(list.ListReaders(), 0);

    list.ReleaseAll();
    EXPECT_EQ(list.GetReaderCount(), 0u);
    EXPECT_EQ(list.GetReader(0), nullptr);
    EXPECT_EQ(fake_pcsc::OpenContextCount(), 0u);

    const size_t callsBefore = fake_pcsc::Calls().size();
    list.ReleaseAll(); // nothing left to release: no call
    EXPECT_EQ(fake_pcsc::Calls().size(), callsBefore);
    EXPECT_EQ(list.ListReaders(), 0);
    EXPECT_EQ(list.GetReaderCount(), 2u);
}

TEST_F(CardTest, ReaderNamesKeepCharactersBeyondAscii)
{
    const std::string name = "Lecteur \xC3\xA9 \xE2\x82\xAC"; // "Lecteur é €"
    fake_pcsc::SetReaders({name});
    CCardReaderList list;
    ASSERT_EQ(list.ListReaders(), 0);
    CCardReader* reader = list.GetReader(0);
    ASSERT_NE(reader, nullptr);

    EXPECT_EQ(pcsc::ReaderNameToUtf8(reader->GetName()), name);
    EXPECT_EQ(pcsc::ReaderNameToUtf16(reader->GetName()), u"Lecteur \u00E9 \u20AC");
    EXPECT_EQ(reader->Connect(SCARD_PROTOCOL_T0), 0);
    EXPECT_EQ(fake_pcsc::Calls().back().Text(), "SCardReconnect(card#1, share=2, protocols=1, init=1)");
}

} // namespace
} // namespace card_test
