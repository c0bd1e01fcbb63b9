// The Windows side end to end: the cross-built programs run under Wine with
// the replacement winscard.dll, through the host, against a private pcscd
// with a virtual card. The Windows build tree (win-x86 or win-x64) is the
// environment's VELMORA_WIN_BUILD_DIR; its velmora-wine starts its programs.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "BridgeClient.h"
#include "BridgeRig.h"
#include "ChildProcess.h"
#include "VirtualCard.h"

using namespace std::chrono_literals;

namespace {

constexpr uint32_t kResultResetCard = 0x80100068;
// Hang guard for Wine (its first start in a new prefix is slow); never what
// a test measures.
constexpr auto kWineHangGuard = 300s;

std::string WinBuild()
{
    const char* build = std::getenv("VELMORA_WIN_BUILD_DIR");
    return build ? build : "";
}

std::string Wine()
{
    return WinBuild() + "/velmora-wine";
}

// The bridge tests' own prefix unless the caller chose one.
std::string WinePrefix()
{
    const char* prefix = std::getenv("WINEPREFIX");
    return prefix && *prefix ? prefix : WinBuild() + "/bridge-wineprefix";
}

std::vector<std::string> WineEnvironment(const BridgeRig& rig)
{
    return {"VELMORA_BRIDGE_FILE=" + rig.BridgeFile(), "WINEPREFIX=" + WinePrefix(),
            "WINEDLLOVERRIDES=winscard=n;mscoree,mshtml=", "WINEDEBUG=-all"};
}

bool Exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

class WineBridgeTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(WinBuild().empty()) << "VELMORA_WIN_BUILD_DIR names no Windows build tree";
        ASSERT_TRUE(Exists(Program("bridge_winscard_tests.exe"))) << "build the Windows tree " << WinBuild();
        ASSERT_TRUE(Exists(Wine()));
        ASSERT_TRUE(Exists(Program("winscard.dll")));
        ASSERT_TRUE(m_rig.Failure().empty()) << m_rig.Failure();
        m_card = std::make_unique<VirtualCard>(m_rig.VpcdPort(0));
        ASSERT_TRUE(m_card->Inserted());
        ASSERT_TRUE(m_rig.WaitForCard(0)) << "the virtual card never showed as present";
        // One wineserver for the test, in the foreground so that its PID is ours
        // (if the prefix already has one, this one ends at once).
        std::vector<std::string> environment = WineEnvironment(m_rig);
        m_wineserver = std::make_unique<ChildProcess>(std::vector<std::string>{"wineserver", "-f", "-p"},
                                                      environment, false);
    }

    void TearDown() override
    {
        // Wine's own service processes live as long as the wineserver; end
        // them all through it, then the server itself.
        ChildProcess stopAll({"wineserver", "-k"}, WineEnvironment(m_rig), false);
        stopAll.Wait();
        m_wineserver.reset();
    }

    static std::string Program(const std::string& name) { return WinBuild() + "/tests/bridge/" + name; }

    BridgeRig m_rig;
    std::unique_ptr<VirtualCard> m_card;
    std::unique_ptr<ChildProcess> m_wineserver;
};

} // namespace

TEST_F(WineBridgeTest, WinscardCallsPassUnderWine)
{
    ChildProcess tests({Wine(), Program("bridge_winscard_tests.exe")}, WineEnvironment(m_rig), false);
    auto exit = std::async(std::launch::async, [&] { return tests.Wait(); });
    ASSERT_EQ(exit.wait_for(kWineHangGuard), std::future_status::ready);
    EXPECT_EQ(exit.get(), 0) << "bridge_winscard_tests.exe failed under Wine (its output is above)";
}

TEST_F(WineBridgeTest, KilledWineProcessReleasesItsTransaction)
{
    // Declared before the holder so that, on an early return, the holder is
    // killed first and nothing below waits for ever.
    BridgeClient next(m_rig.HostPort(), &m_rig.Token());
    std::future<std::string> line;
    std::future<uint32_t> taken;
    ChildProcess holder({Wine(), Program("bridge_transaction_holder.exe")}, WineEnvironment(m_rig), true);

    line = std::async(std::launch::async, [&] { return holder.ReadLine(); });
    ASSERT_EQ(line.wait_for(kWineHangGuard), std::future_status::ready);
    std::string said = line.get();
    if (!said.empty() && said.back() == '\r')
        said.pop_back(); // Wine's console ends lines with CR LF
    ASSERT_EQ(said, "holding");

    // The next client asks for the card while the holder keeps it; pcscd makes
    // it wait (connect or begin) until the transaction is gone.
    uint32_t card = 0;
    taken = std::async(std::launch::async, [&] {
        uint32_t result = next.Connect(next.EstablishContext(), m_rig.ReaderName(0), card);
        return result != 0 ? result : next.BeginTransaction(card);
    });
    EXPECT_EQ(taken.wait_for(300ms), std::future_status::timeout) << "the holder's transaction did not exclude";

    auto start = std::chrono::steady_clock::now();
    holder.Stop(SIGKILL);
    ASSERT_EQ(taken.wait_for(10s), std::future_status::ready) << "the card was never released";
    auto released = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    RecordProperty("release_ms", std::to_string(released.count()));
    std::printf("card released %lld ms after the kill\n", static_cast<long long>(released.count()));
    uint32_t result = taken.get();
    // The holder's card was reset on its way out; a client that was already
    // connected learns of it and reconnects.
    ASSERT_TRUE(result == 0 || result == kResultResetCard) << std::hex << result;
    if (result == kResultResetCard) {
        bridge::ReconnectReply reconnect;
        ASSERT_EQ(next.Call(bridge::ReconnectRequest{card, 2, 1, 0}, reconnect), 0u);
        ASSERT_EQ(next.BeginTransaction(card), 0u);
    }
    EXPECT_EQ(next.EndTransaction(card), 0u);
}
