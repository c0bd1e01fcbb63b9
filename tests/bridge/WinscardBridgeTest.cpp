// The replacement winscard.dll under Wine, through the host, against a
// private pcscd whose first reader holds a card. Run with
// VELMORA_BRIDGE_FILE set (scripts/pcsc-rig --bridge, or the native
// bridge_wine_tests). Checks hold for any card in the first reader.
#include <gtest/gtest.h>
#include <windows.h>
#include <winscard.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

const wchar_t kFirstReader[] = L"Virtual PCD 00 00";
const char kFirstReaderAnsi[] = "Virtual PCD 00 00";
const wchar_t kEmptyReader[] = L"Virtual PCD 00 01";

std::vector<std::wstring> SplitMultiString(const wchar_t* text)
{
    std::vector<std::wstring> names;
    for (const wchar_t* name = text; *name; name += wcslen(name) + 1)
        names.emplace_back(name);
    return names;
}

class WinscardBridgeTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(getenv("VELMORA_BRIDGE_FILE"), nullptr) << "run through the bridge rig";
        ASSERT_EQ(SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &m_context), SCARD_S_SUCCESS);
    }

    void TearDown() override
    {
        if (m_card)
            SCardDisconnect(m_card, SCARD_RESET_CARD);
        if (m_context) {
            EXPECT_EQ(SCardReleaseContext(m_context), SCARD_S_SUCCESS);
        }
    }

    void ConnectFirstReader()
    {
        DWORD protocol = 0;
        ASSERT_EQ(SCardConnectW(m_context, kFirstReader, SCARD_SHARE_SHARED, SCARD_PROTOCOL_T0, &m_card, &protocol),
                  SCARD_S_SUCCESS);
        EXPECT_EQ(protocol, static_cast<DWORD>(SCARD_PROTOCOL_T0));
    }

    SCARDCONTEXT m_context = 0;
    SCARDHANDLE m_card = 0;
};

// A context of its own that waits, on a thread of its own, for the empty
// reader to change; the wait begins on construction.
class BackgroundWait {
public:
    explicit BackgroundWait(DWORD timeout)
    {
        EXPECT_EQ(SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &context), SCARD_S_SUCCESS);
        m_state.szReader = kEmptyReader;
        EXPECT_EQ(SCardGetStatusChangeW(context, 0, &m_state, 1), SCARD_S_SUCCESS);
        m_state.dwCurrentState = m_state.dwEventState;
        m_thread = std::thread([this, timeout] {
            m_result = SCardGetStatusChangeW(context, timeout, &m_state, 1);
            ended = true;
        });
    }
    ~BackgroundWait()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

    // What the wait returned, once it has ended.
    LONG Result()
    {
        m_thread.join();
        return m_result;
    }

    SCARDCONTEXT context = 0;
    std::atomic<bool> ended{false};

private:
    SCARD_READERSTATEW m_state = {};
    LONG m_result = SCARD_S_SUCCESS;
    std::thread m_thread;
};

} // namespace

TEST_F(WinscardBridgeTest, ContextIsValidUntilReleased)
{
    EXPECT_EQ(SCardIsValidContext(m_context), SCARD_S_SUCCESS);
    SCARDCONTEXT second = 0;
    ASSERT_EQ(SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &second), SCARD_S_SUCCESS);
    EXPECT_NE(second, m_context);
    EXPECT_EQ(SCardReleaseContext(second), SCARD_S_SUCCESS);
    EXPECT_NE(SCardIsValidContext(second), SCARD_S_SUCCESS);
    EXPECT_EQ(SCardIsValidContext(m_context), SCARD_S_SUCCESS);
}

TEST_F(WinscardBridgeTest, ListReadersInEveryBufferForm)
{
    // Auto-allocated, freed with SCardFreeMemory.
    LPWSTR allocated = nullptr;
    DWORD length = SCARD_AUTOALLOCATE;
    ASSERT_EQ(SCardListReadersW(m_context, nullptr, reinterpret_cast<LPWSTR>(&allocated), &length), SCARD_S_SUCCESS);
    ASSERT_NE(allocated, nullptr);
    std::vector<std::wstring> names = SplitMultiString(allocated);
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names[0], kFirstReader);
    EXPECT_EQ(allocated[length - 1], L'\0');
    EXPECT_EQ(allocated[length - 2], L'\0');
    EXPECT_EQ(SCardFreeMemory(m_context, allocated), SCARD_S_SUCCESS);

    // Length query, then the caller's own buffer.
    DWORD needed = 0;
    ASSERT_EQ(SCardListReadersW(m_context, nullptr, nullptr, &needed), SCARD_S_SUCCESS);
    EXPECT_EQ(needed, length);
    std::vector<wchar_t> buffer(needed, L'x');
    DWORD room = needed;
    ASSERT_EQ(SCardListReadersW(m_context, nullptr, buffer.data(), &room), SCARD_S_SUCCESS);
    EXPECT_EQ(SplitMultiString(buffer.data()), names);

    // Too little room: nothing written, the needed length returned.
    std::vector<wchar_t> small(needed - 1, L'x');
    room = needed - 1;
    EXPECT_EQ(SCardListReadersW(m_context, nullptr, small.data(), &room), SCARD_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(room, needed);
    EXPECT_EQ(small[0], L'x');

    // The ANSI form lists the same names.
    LPSTR ansi = nullptr;
    DWORD ansiLength = SCARD_AUTOALLOCATE;
    ASSERT_EQ(SCardListReadersA(m_context, nullptr, reinterpret_cast<LPSTR>(&ansi), &ansiLength), SCARD_S_SUCCESS);
    EXPECT_STREQ(ansi, kFirstReaderAnsi);
    EXPECT_EQ(ansiLength, length);
    EXPECT_EQ(SCardFreeMemory(m_context, ansi), SCARD_S_SUCCESS);
}

TEST_F(WinscardBridgeTest, StatusChangeShowsTheCardWithItsAtr)
{
    SCARD_READERSTATEW wide = {};
    wide.szReader = kFirstReader;
    ASSERT_EQ(SCardGetStatusChangeW(m_context, 0, &wide, 1), SCARD_S_SUCCESS);
    EXPECT_TRUE(wide.dwEventState & SCARD_STATE_PRESENT);
    EXPECT_GT(wide.cbAtr, 1u);
    EXPECT_EQ(wide.rgbAtr[0], 0x3B); // direct convention

    SCARD_READERSTATEA ansi = {};
    ansi.szReader = kFirstReaderAnsi;
    ASSERT_EQ(SCardGetStatusChangeA(m_context, 0, &ansi, 1), SCARD_S_SUCCESS);
    EXPECT_EQ(ansi.cbAtr, wide.cbAtr);
    EXPECT_EQ(0, memcmp(ansi.rgbAtr, wide.rgbAtr, wide.cbAtr));

    // No change from the state just seen: a short wait times out.
    wide.dwCurrentState = wide.dwEventState;
    EXPECT_EQ(SCardGetStatusChangeW(m_context, 50, &wide, 1), SCARD_E_TIMEOUT);

    SCARD_READERSTATEW unknown = {};
    unknown.szReader = L"No such reader";
    EXPECT_NE(SCardGetStatusChangeW(m_context, 0, &unknown, 1), SCARD_S_SUCCESS);
}

TEST_F(WinscardBridgeTest, ConnectTransactTransmitAndStatus)
{
    ConnectFirstReader();
    DWORD protocol = 0;
    ASSERT_EQ(SCardReconnect(m_card, SCARD_SHARE_SHARED, SCARD_PROTOCOL_T0, SCARD_RESET_CARD, &protocol),
              SCARD_S_SUCCESS);
    EXPECT_EQ(protocol, static_cast<DWORD>(SCARD_PROTOCOL_T0));
    ASSERT_EQ(SCardBeginTransaction(m_card), SCARD_S_SUCCESS);

    // SELECT MF: every card answers with a status word.
    const BYTE select[] = {0xA0, 0xA4, 0x00, 0x00, 0x02, 0x3F, 0x00};
    BYTE response[258] = {};
    DWORD responseLength = 255;
    SCARD_IO_REQUEST receivePci = {};
    ASSERT_EQ(SCardTransmit(m_card, SCARD_PCI_T0, select, sizeof select, &receivePci, response, &responseLength),
              SCARD_S_SUCCESS);
    EXPECT_GE(responseLength, 2u);
    EXPECT_EQ(receivePci.dwProtocol, static_cast<DWORD>(SCARD_PROTOCOL_T0));

    // SCardStatusW: name, state, protocol and the ATR the reader reported.
    SCARD_READERSTATEW seen = {};
    seen.szReader = kFirstReader;
    ASSERT_EQ(SCardGetStatusChangeW(m_context, 0, &seen, 1), SCARD_S_SUCCESS);
    wchar_t name[64] = {};
    DWORD nameLength = 64;
    DWORD state = 0;
    BYTE atr[36] = {};
    DWORD atrLength = sizeof atr;
    ASSERT_EQ(SCardStatusW(m_card, name, &nameLength, &state, &protocol, atr, &atrLength), SCARD_S_SUCCESS);
    EXPECT_STREQ(name, kFirstReader);
    EXPECT_EQ(nameLength, wcslen(kFirstReader) + 2);
    EXPECT_GE(state, static_cast<DWORD>(SCARD_POWERED));
    EXPECT_EQ(protocol, static_cast<DWORD>(SCARD_PROTOCOL_T0));
    ASSERT_EQ(atrLength, seen.cbAtr);
    EXPECT_EQ(0, memcmp(atr, seen.rgbAtr, atrLength));

    // Auto-allocated ATR and a too-small name buffer.
    LPBYTE allocatedAtr = nullptr;
    DWORD allocatedLength = SCARD_AUTOALLOCATE;
    ASSERT_EQ(SCardStatusW(m_card, nullptr, nullptr, nullptr, nullptr, reinterpret_cast<LPBYTE>(&allocatedAtr),
                           &allocatedLength),
              SCARD_S_SUCCESS);
    EXPECT_EQ(allocatedLength, atrLength);
    EXPECT_EQ(SCardFreeMemory(m_context, allocatedAtr), SCARD_S_SUCCESS);
    nameLength = 3;
    EXPECT_EQ(SCardStatusW(m_card, name, &nameLength, nullptr, nullptr, nullptr, nullptr), SCARD_E_INSUFFICIENT_BUFFER);

    EXPECT_EQ(SCardEndTransaction(m_card, SCARD_LEAVE_CARD), SCARD_S_SUCCESS);
    EXPECT_EQ(SCardDisconnect(m_card, SCARD_RESET_CARD), SCARD_S_SUCCESS);
    m_card = 0;
}

TEST_F(WinscardBridgeTest, AnsiConnectWorksToo)
{
    DWORD protocol = 0;
    ASSERT_EQ(SCardConnectA(m_context, kFirstReaderAnsi, SCARD_SHARE_SHARED, SCARD_PROTOCOL_T0, &m_card, &protocol),
              SCARD_S_SUCCESS);
    char name[64] = {};
    DWORD nameLength = sizeof name;
    ASSERT_EQ(SCardStatusA(m_card, name, &nameLength, nullptr, nullptr, nullptr, nullptr), SCARD_S_SUCCESS);
    EXPECT_STREQ(name, kFirstReaderAnsi);
}

TEST_F(WinscardBridgeTest, BadHandlesAndArgumentsAreErrorsNotCrashes)
{
    const SCARDHANDLE bogus = 0x1234;
    BYTE command[] = {0xA0, 0xF2, 0x00, 0x00, 0x0D};
    BYTE response[258];
    DWORD responseLength = 255;
    EXPECT_NE(SCardIsValidContext(bogus), SCARD_S_SUCCESS);
    EXPECT_NE(SCardTransmit(bogus, SCARD_PCI_T0, command, sizeof command, nullptr, response, &responseLength),
              SCARD_S_SUCCESS);
    EXPECT_NE(SCardBeginTransaction(bogus), SCARD_S_SUCCESS);
    EXPECT_NE(SCardDisconnect(bogus, SCARD_LEAVE_CARD), SCARD_S_SUCCESS);
    EXPECT_EQ(SCardListReadersW(m_context, nullptr, nullptr, nullptr), SCARD_E_INVALID_PARAMETER);
    EXPECT_EQ(SCardTransmit(bogus, nullptr, command, sizeof command, nullptr, response, &responseLength),
              SCARD_E_INVALID_PARAMETER);
    std::vector<BYTE> huge(300, 0);
    EXPECT_EQ(SCardTransmit(bogus, SCARD_PCI_T0, huge.data(), static_cast<DWORD>(huge.size()), nullptr, response,
                            &responseLength),
              SCARD_E_INVALID_PARAMETER);
    int notOurs = 0;
    EXPECT_NE(SCardFreeMemory(m_context, &notOurs), SCARD_S_SUCCESS);

    // The connection is still fine afterwards.
    EXPECT_EQ(SCardIsValidContext(m_context), SCARD_S_SUCCESS);
}

TEST_F(WinscardBridgeTest, CallsNotForwardedAreUnsupported)
{
    DWORD length = 0;
    BYTE buffer[8];
    DWORD state = 0;
    DWORD protocol = 0;
    SCARD_READERSTATEW states = {};
    states.szReader = kFirstReader;
    const LONG results[] = {
        SCardControl(0x1234, 0, nullptr, 0, buffer, sizeof buffer, &length),
        SCardGetAttrib(0x1234, SCARD_ATTR_VENDOR_NAME, buffer, &length),
        SCardSetAttrib(0x1234, SCARD_ATTR_VENDOR_NAME, buffer, sizeof buffer),
        SCardListCardsW(m_context, nullptr, nullptr, 0, nullptr, &length),
        SCardListReaderGroupsW(m_context, nullptr, &length),
        SCardLocateCardsW(m_context, L"card\0", &states, 1),
        SCardIntroduceReaderW(m_context, L"reader", L"device"),
        SCardForgetReaderW(m_context, L"reader"),
        SCardState(0x1234, &state, &protocol, buffer, &length),
    };
    for (size_t i = 0; i < sizeof results / sizeof results[0]; ++i)
        EXPECT_EQ(results[i], SCARD_E_UNSUPPORTED_FEATURE) << i;
    EXPECT_EQ(SCardAccessStartedEvent(), nullptr);
    SCardReleaseStartedEvent();
    // The stack is balanced after all of them: the context still works.
    EXPECT_EQ(SCardIsValidContext(m_context), SCARD_S_SUCCESS);
}

TEST_F(WinscardBridgeTest, WaitOnOneContextDoesNotHoldUpAnother)
{
    BackgroundWait wait(3000);
    std::this_thread::sleep_for(std::chrono::milliseconds(100)); // let the wait begin

    // Calls on the other context are answered while the wait goes on.
    DWORD length = 0;
    EXPECT_EQ(SCardListReadersW(m_context, nullptr, nullptr, &length), SCARD_S_SUCCESS);
    EXPECT_EQ(SCardIsValidContext(m_context), SCARD_S_SUCCESS);
    EXPECT_FALSE(wait.ended) << "the other context's calls waited for the status change";

    EXPECT_EQ(wait.Result(), SCARD_E_TIMEOUT);
    EXPECT_EQ(SCardReleaseContext(wait.context), SCARD_S_SUCCESS);
}

TEST_F(WinscardBridgeTest, EndlessWaitEndsWhenAnotherThreadCancelsOrReleases)
{
    for (bool release : {false, true}) {
        BackgroundWait wait(INFINITE);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_FALSE(wait.ended) << "the wait ended without a change";
        EXPECT_EQ(release ? SCardReleaseContext(wait.context) : SCardCancel(wait.context), SCARD_S_SUCCESS) << release;
        EXPECT_EQ(wait.Result(), SCARD_E_CANCELLED) << release; // the test's time-out is the hang guard
        if (!release) {
            EXPECT_EQ(SCardReleaseContext(wait.context), SCARD_S_SUCCESS);
        }
    }
}
