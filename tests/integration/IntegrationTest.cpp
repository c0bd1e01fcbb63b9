// card/ through the real resource manager: pcscd, the vpcd virtual readers and
// the simulated SIM, as scripts/pcsc-rig sets them up (see CMakeLists.txt for
// which test runs in which rig).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "ProfileExpectation.h"
#include "RigTestSupport.h"
#include "SimReadout.h"
#include "card/ResultText.h"
#include "sim/ResultCodes.h"
#include "sim/SimFiles.h"

namespace {

constexpr long NoSmartcard = static_cast<long>(0x8010000CUL); // SCARD_E_NO_SMARTCARD

std::string R(long result)
{
    return PcscResultText(result);
}

// The listed card reader, once it holds a card that accepts a connection.
CCardReader* ConnectedCardReader(CCardReaderList& list)
{
    EXPECT_EQ(list.ListReaders(), 0);
    CCardReader* reader = rig::FindReader(list, rig::CardReaderName());
    EXPECT_NE(reader, nullptr) << rig::CardReaderName() << " is not listed";
    if (reader == nullptr)
        return nullptr;
    const bool ready = rig::WaitUntil([&] { return reader->IsCardPresent() && reader->Connect(SCARD_PROTOCOL_T0) == 0; });
    EXPECT_TRUE(ready) << "no card in " << rig::CardReaderName();
    return ready ? reader : nullptr;
}

ProfileExpectation RigProfileExpectation()
{
    const std::string profile = rig::Env("VELMORA_RIG_PROFILE");
    if (profile.empty())
        throw std::runtime_error("VELMORA_RIG_PROFILE is not set: run under scripts/pcsc-rig --profile");
    return LoadExpectation(profile);
}

TEST(Readers, ListsTheRigsReadersFirstTenInOrder)
{
    const std::vector<std::string> listed = rig::ListedReaderNames();
    const size_t rigReaders = std::stoul(rig::Env("VELMORA_RIG_READERS"));
    ASSERT_EQ(listed.size(), rigReaders);

    CCardReaderList list;
    ASSERT_EQ(list.ListReaders(), 0);
    const size_t kept = std::min<size_t>(rigReaders, MAX_READERS);
    ASSERT_EQ(list.GetReaderCount(), kept);
    for (unsigned i = 0; i < kept; ++i)
        EXPECT_EQ(pcsc::ReaderNameToUtf8(list.GetReader(i)->GetName()), listed[i]) << "reader " << i;
    EXPECT_EQ(list.GetReader(static_cast<unsigned>(kept)), nullptr);
    EXPECT_NE(std::find(listed.begin(), listed.end(), rig::CardReaderName()), listed.end());
}

TEST(NoCard, EmptyReadersAreNotPresentAndRefuseAConnection)
{
    CCardReaderList list;
    ASSERT_EQ(list.ListReaders(), 0);
    ASSERT_GT(list.GetReaderCount(), 0u);
    for (unsigned i = 0; i < list.GetReaderCount(); ++i) {
        CCardReader* reader = list.GetReader(i);
        EXPECT_FALSE(reader->IsCardPresent()) << pcsc::ReaderNameToUtf8(reader->GetName());
        EXPECT_EQ(reader->Connect(SCARD_PROTOCOL_T0), NoSmartcard);
        EXPECT_EQ(reader->GetCardHandle(), 0u);
    }
}

TEST(Presence, NoCardThenACard)
{
    const std::string trigger = rig::Env("VELMORA_RIG_INSERT_FILE");
    ASSERT_FALSE(trigger.empty()) << "run under scripts/pcsc-rig --insert-when FILE";
    CCardReaderList list;
    ASSERT_EQ(list.ListReaders(), 0);
    CCardReader* reader = rig::FindReader(list, rig::CardReaderName());
    ASSERT_NE(reader, nullptr);
    EXPECT_FALSE(reader->IsCardPresent());
    EXPECT_EQ(reader->Connect(SCARD_PROTOCOL_T0), NoSmartcard);

    std::ofstream(trigger) << "insert\n";
    ASSERT_TRUE(rig::WaitUntil([&] { return reader->IsCardPresent(); }));
    EXPECT_EQ(reader->Connect(SCARD_PROTOCOL_T0), 0);
    EXPECT_NE(reader->GetCardHandle(), 0u);
    EXPECT_EQ(reader->SelectFile(simfile::Mf), 0);
}

TEST(Connect, SecondConnectResetsTheCard)
{
    const ProfileExpectation expected = RigProfileExpectation();
    CCardReaderList list;
    CCardReader* reader = ConnectedCardReader(list);
    ASSERT_NE(reader, nullptr);
    uint8_t imsi[9];
    ASSERT_EQ(reader->SelectFile(simfile::DfGsm), 0);
    ASSERT_EQ(reader->SelectFile(simfile::EfImsi), 0);
    EXPECT_EQ(reader->ReadBinary(9, imsi), sc::Unexpected) << "IMSI readable before the PIN";
    ASSERT_EQ(reader->VerifyPin1(expected.pin), 0);
    EXPECT_EQ(reader->ReadBinary(9, imsi), 0);

    ASSERT_EQ(reader->Connect(SCARD_PROTOCOL_T0), 0);
    EXPECT_EQ(reader->SelectFile(simfile::EfImsi), sc::FileNotFound) << "not back at the MF";
    ASSERT_EQ(reader->SelectFile(simfile::DfGsm), 0);
    ASSERT_EQ(reader->SelectFile(simfile::EfImsi), 0);
    EXPECT_EQ(reader->ReadBinary(9, imsi), sc::Unexpected) << "the PIN still holds after a reset";
}

TEST(Connect, TheCardOffersT0Only)
{
    CCardReaderList list;
    CCardReader* reader = ConnectedCardReader(list);
    ASSERT_NE(reader, nullptr);
    reader->Disconnect();
    EXPECT_EQ(reader->Connect(SCARD_PROTOCOL_T1), sc::ProtoMismatch);
    EXPECT_EQ(reader->Connect(SCARD_PROTOCOL_T0), 0);
}

TEST(Connect, TheOtherReaderOfTheEntryStaysEmpty)
{
    CCardReaderList list;
    ASSERT_NE(ConnectedCardReader(list), nullptr);
    CCardReader* empty = rig::FindReader(list, rig::EmptyReaderName());
    ASSERT_NE(empty, nullptr);
    EXPECT_FALSE(empty->IsCardPresent());
    EXPECT_EQ(empty->Connect(SCARD_PROTOCOL_T0), NoSmartcard);
}

TEST(Readout, MatchesTheProfile)
{
    const ProfileExpectation expected = RigProfileExpectation();
    CCardReaderList list;
    CCardReader* reader = ConnectedCardReader(list);
    ASSERT_NE(reader, nullptr);
    const SimReadout readout = ReadSim(*reader, expected.pin);
    ExpectReadoutMatches(readout, expected);
}

// Run once per N by removal-sweep: the card leaves after N commands.
TEST(Removal, CardPulledMidReadKeepsWhatWasRead)
{
    const ProfileExpectation expected = RigProfileExpectation();
    SCOPED_TRACE("card pulled after " + rig::Env("VELMORA_REMOVE_AFTER") + " commands");
    CCardReaderList list;
    CCardReader* reader = ConnectedCardReader(list);
    ASSERT_NE(reader, nullptr);
    const SimReadout readout = ReadSim(*reader, expected.pin);
    ExpectPartialReadoutConsistent(readout, expected);
    // The card is gone: the resource manager says so with a PC/SC error. vpcd
    // answers the one exchange cut off by the removal with an empty response
    // (which the card layer takes as SCARD_E_UNEXPECTED) and fails the next
    // one, so when the removal fell on the first probe the second tells.
    long probe = reader->SelectFile(simfile::Mf);
    if (!IsTransportError(probe))
        probe = reader->SelectFile(simfile::Mf);
    EXPECT_TRUE(IsTransportError(probe)) << R(probe);
    for (long error : readout.errors) {
        if (IsTransportError(error)) {
            EXPECT_EQ(sc::ToUnsigned32(error) >> 16, 0x8010u) << R(error); // a PC/SC code, not garbage
        }
    }
}

} // namespace
