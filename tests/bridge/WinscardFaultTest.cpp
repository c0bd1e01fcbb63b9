// The replacement winscard.dll against a host that misbehaves (ScriptedHost,
// in this process): replies that do not answer what was asked, a host that
// never answers, a failure after a block was allocated for the caller, a
// wait that must be cancelled from another thread, and bridge files or
// tokens that do not let the DLL in, an impostor on the port of a host that
// is gone. Runs under Wine with winscard=n.
#include <gtest/gtest.h>
#include <windows.h>
#include <winscard.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "ScriptedHost.h"
#include "tools/pcsc-bridge/BridgeFile.h"

using namespace bridge;
using namespace std::chrono_literals;

namespace {

constexpr uint32_t kContext = 0x1001;
constexpr uint32_t kCard = 0x2002;
const std::vector<uint8_t> kCancelKey(kCancelKeySize, 0x3C);
const std::vector<uint8_t> kAtr = {0x3B, 0x02, 0x14, 0x50};
// Hang guard: far above the DLL's deadlines; never what a test measures.
constexpr auto kHangGuard = 60s;

// What every scripted host answers the same way; nullopt for the rest.
std::optional<std::vector<uint8_t>> CommonReply(const Request& request)
{
    if (std::holds_alternative<EstablishContextRequest>(request))
        return ScriptedHost::Answer(EstablishContextReply{0, kContext, kCancelKey});
    if (std::holds_alternative<ReleaseContextRequest>(request))
        return ScriptedHost::Answer(ReleaseContextReply{});
    if (std::holds_alternative<IsValidContextRequest>(request))
        return ScriptedHost::Answer(IsValidContextReply{});
    if (std::holds_alternative<ConnectRequest>(request))
        return ScriptedHost::Answer(ConnectReply{0, kCard, SCARD_PROTOCOL_T0});
    if (std::holds_alternative<DisconnectRequest>(request))
        return ScriptedHost::Answer(DisconnectReply{});
    return std::nullopt;
}

SCARDCONTEXT Establish()
{
    SCARDCONTEXT context = 0;
    EXPECT_EQ(SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &context), SCARD_S_SUCCESS);
    return context;
}

template <class T> bool Finishes(std::future<T>& result)
{
    return result.wait_for(kHangGuard) == std::future_status::ready;
}

} // namespace

TEST(WinscardFaultTest, ReplyWithAnotherNumberOfReaderStatesIsACommError)
{
    for (size_t replied : {size_t(0), size_t(2)}) {
        ScriptedHost host([replied](const Request& request) {
            if (std::holds_alternative<GetStatusChangeRequest>(request)) {
                GetStatusChangeReply reply;
                reply.states.assign(replied, ReaderStateOut{SCARD_STATE_PRESENT, kAtr});
                return ScriptedHost::Answer(reply);
            }
            return CommonReply(request);
        });
        ASSERT_TRUE(host.Listening());
        SCARDCONTEXT context = Establish();
        SCARD_READERSTATEW state = {};
        state.szReader = L"Reader";
        state.dwEventState = 0xABCD;
        state.cbAtr = 7;
        EXPECT_EQ(SCardGetStatusChangeW(context, 0, &state, 1), SCARD_F_COMM_ERROR) << replied << " states";
        EXPECT_EQ(state.dwEventState, 0xABCDu) << replied << " states";
        EXPECT_EQ(state.cbAtr, 7u) << replied << " states";
        SCardReleaseContext(context);
    }
}

TEST(WinscardFaultTest, HostThatNeverAnswersFailsTheCallAndDropsTheConnection)
{
    struct Case {
        const char* what;
        std::function<LONG(SCARDCONTEXT)> call;
    };
    const Case cases[] = {
        {"SCardIsValidContext", [](SCARDCONTEXT context) { return SCardIsValidContext(context); }},
        {"SCardGetStatusChange with a time-out",
         [](SCARDCONTEXT context) {
             SCARD_READERSTATEW state = {};
             state.szReader = L"Reader";
             return SCardGetStatusChangeW(context, 200, &state, 1);
         }},
    };
    for (const Case& c : cases) {
        ScriptedHost host([](const Request& request) {
            if (std::holds_alternative<EstablishContextRequest>(request))
                return CommonReply(request);
            return std::optional<std::vector<uint8_t>>(); // stuck
        });
        ASSERT_TRUE(host.Listening());
        SCARDCONTEXT context = Establish();
        auto result = std::async(std::launch::async, [&] { return c.call(context); });
        ASSERT_TRUE(Finishes(result)) << c.what << " waits for ever";
        EXPECT_EQ(result.get(), SCARD_F_COMM_ERROR) << c.what;
        // The connection is gone: the next call fails at once.
        EXPECT_EQ(SCardIsValidContext(context), SCARD_F_COMM_ERROR) << c.what;
        SCardReleaseContext(context);
    }
}

TEST(WinscardFaultTest, FailedAtrDeliveryFreesTheAllocatedNames)
{
    ScriptedHost host([](const Request& request) {
        if (std::holds_alternative<StatusRequest>(request))
            return ScriptedHost::Answer(StatusReply{0, {"Reader"}, 6, SCARD_PROTOCOL_T0, kAtr});
        return CommonReply(request);
    });
    ASSERT_TRUE(host.Listening());
    SCARDCONTEXT context = Establish();
    SCARDHANDLE card = 0;
    DWORD protocol = 0;
    ASSERT_EQ(SCardConnectW(context, L"Reader", SCARD_SHARE_SHARED, SCARD_PROTOCOL_T0, &card, &protocol),
              SCARD_S_SUCCESS);
    LPWSTR names = nullptr;
    DWORD namesLength = SCARD_AUTOALLOCATE;
    BYTE atr[1];
    DWORD atrLength = sizeof atr;
    EXPECT_EQ(SCardStatusW(card, reinterpret_cast<LPWSTR>(&names), &namesLength, nullptr, nullptr, atr, &atrLength),
              SCARD_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(atrLength, kAtr.size());
    EXPECT_EQ(names, nullptr) << "the failed call handed out a block nobody frees";
    SCardDisconnect(card, SCARD_LEAVE_CARD);
    SCardReleaseContext(context);
}

TEST(WinscardFaultTest, EndlessWaitIsEndedFromAnotherThread)
{
    struct Case {
        const char* what;
        bool release; // SCardReleaseContext, else SCardCancel
    };
    const Case cases[] = {{"SCardCancel", false}, {"SCardReleaseContext", true}};
    for (const Case& c : cases) {
        std::promise<void> cancelled;
        std::shared_future<void> cancelSeen = cancelled.get_future().share();
        std::atomic<int> refusedKeys{0};
        std::atomic<bool> waiting{false};
        ScriptedHost host([&](const Request& request) {
            if (std::holds_alternative<GetStatusChangeRequest>(request)) {
                waiting = true;
                cancelSeen.wait_for(kHangGuard);
                return ScriptedHost::Answer(GetStatusChangeReply{kResultCancelled, {}});
            }
            if (auto* cancel = std::get_if<CancelRequest>(&request)) {
                if (cancel->context != kContext || cancel->key != kCancelKey) {
                    ++refusedKeys;
                    return ScriptedHost::Answer(CancelReply{kResultInvalidHandle, 0});
                }
                if (!waiting.exchange(false))
                    return ScriptedHost::Answer(CancelReply{0, 0}); // the wait has not come yet
                cancelled.set_value();
                return ScriptedHost::Answer(CancelReply{0, 1});
            }
            return CommonReply(request);
        });
        ASSERT_TRUE(host.Listening());
        SCARDCONTEXT context = Establish();
        auto wait = std::async(std::launch::async, [&] {
            SCARD_READERSTATEW state = {};
            state.szReader = L"Reader";
            return SCardGetStatusChangeW(context, INFINITE, &state, 1);
        });
        EXPECT_EQ(wait.wait_for(200ms), std::future_status::timeout) << c.what;
        auto end = std::async(std::launch::async,
                              [&] { return c.release ? SCardReleaseContext(context) : SCardCancel(context); });
        ASSERT_TRUE(Finishes(end)) << c.what;
        EXPECT_EQ(end.get(), SCARD_S_SUCCESS) << c.what;
        ASSERT_TRUE(Finishes(wait)) << c.what << " did not end the wait";
        EXPECT_EQ(wait.get(), SCARD_E_CANCELLED) << c.what;
        EXPECT_EQ(refusedKeys, 0) << c.what;
        if (!c.release)
            SCardReleaseContext(context);
    }
}

TEST(WinscardFaultTest, NoServiceWithoutAUsableBridgeFileOrToken)
{
    ScriptedHost host([](const Request& request) { return CommonReply(request); });
    ASSERT_TRUE(host.Listening());
    const std::wstring file = host.BridgeFile();
    {
        SCARDCONTEXT context = Establish(); // the file as the host wrote it works
        SCardReleaseContext(context);
    }
    struct Case {
        const char* what;
        const wchar_t* variable; // nullptr: unset
        std::string fileText;
    };
    std::vector<uint8_t> otherToken = host.Token();
    otherToken[0] ^= 1;
    const std::string portLine = [&] {
        HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        char text[256] = {};
        DWORD read = 0;
        ReadFile(h, text, sizeof text - 1, &read, nullptr);
        CloseHandle(h);
        std::string all(text, read);
        return all.substr(0, all.find('\n'));
    }();
    const Case cases[] = {
        {"no variable", nullptr, ""},
        {"no such file", L"C:\\no\\such\\bridge", ""},
        {"a garbled file", file.c_str(), portLine + "\nnot a token\n"},
        {"a token the host refuses",
         file.c_str(), FormatBridgeFile({static_cast<uint16_t>(std::stoi(portLine)), otherToken})},
    };
    for (const Case& c : cases) {
        SetEnvironmentVariableW(L"VELMORA_BRIDGE_FILE", c.variable);
        if (!c.fileText.empty())
            host.WriteBridgeFile(c.fileText);
        int before = host.Authenticated();
        SCARDCONTEXT context = 0;
        EXPECT_EQ(SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &context), SCARD_E_NO_SERVICE) << c.what;
        EXPECT_EQ(host.Authenticated(), before) << c.what;
    }
}

TEST(WinscardFaultTest, ImpostorOnAGoneHostsPortGetsNeitherTheTokenNorAnyCall)
{
    // A host goes, its bridge file stays, and another program takes the
    // port it names: it knows the port, not the token.
    std::optional<ScriptedHost> host(std::in_place, [](const Request& request) { return CommonReply(request); });
    ASSERT_TRUE(host->Listening());
    const BridgeEndpoint gone{host->Port(), host->Token()};
    host.reset();
    ScriptedHost impostor([](const Request& request) { return CommonReply(request); }, gone);
    ASSERT_TRUE(impostor.Listening()) << "the port could not be taken again";

    SCARDCONTEXT context = 0;
    EXPECT_EQ(SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &context), SCARD_E_NO_SERVICE);
    SCARDHANDLE card = 0;
    DWORD protocol = 0;
    EXPECT_NE(SCardConnectW(context, L"Reader", SCARD_SHARE_SHARED, SCARD_PROTOCOL_T0, &card, &protocol),
              SCARD_S_SUCCESS);
    EXPECT_EQ(impostor.Authenticated(), 0) << "the DLL finished a hand-shake with the impostor";
    EXPECT_EQ(impostor.Requests(), 0);
    EXPECT_GT(impostor.Connections(), 0) << "the DLL never tried the impostor";
    EXPECT_FALSE(impostor.Received(gone.token)) << "the token crossed the wire";
}
