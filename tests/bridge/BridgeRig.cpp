#include "BridgeRig.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>

#include "BridgeClient.h"

namespace {

bool PortFree(uint16_t port)
{
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    bool free = bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(s);
    return free;
}

// The low end of the kernel's ephemeral range, which outgoing connections
// draw ports from at any moment: vpcd's ports are taken below it.
int EphemeralLow()
{
    std::ifstream range("/proc/sys/net/ipv4/ip_local_port_range");
    int low = 0;
    return range >> low && low > 2048 ? low : 32768;
}

uint16_t RandomPortPair()
{
    std::random_device device;
    std::uniform_int_distribution<int> ports(1024, EphemeralLow() - 2);
    for (int attempt = 0; attempt < 50; ++attempt) {
        uint16_t port = static_cast<uint16_t>(ports(device));
        if (PortFree(port) && PortFree(static_cast<uint16_t>(port + 1)))
            return port;
    }
    return 0;
}

bool WaitForFile(const std::string& path)
{
    for (int attempt = 0; attempt < 200; ++attempt) {
        struct stat info;
        if (stat(path.c_str(), &info) == 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
}

} // namespace

BridgeRig::BridgeRig()
{
    char pattern[] = "/tmp/velmora-bridge-rig.XXXXXX";
    if (!mkdtemp(pattern)) {
        m_failure = "no temporary directory";
        return;
    }
    m_directory = pattern;
    if (!StartPcscd())
        return;
    std::filesystem::create_directories(RuntimeDirectory());
    Host host = StartHost({"--frame-timeout-ms", std::to_string(kFrameTimeoutMs), "--send-timeout-ms",
                           std::to_string(kSendTimeoutMs)});
    m_host = std::move(host.process);
    m_bridgeFile = host.file;
    m_hostPort = host.endpoint.port;
    m_token = host.endpoint.token;
    if (m_hostPort == 0)
        m_failure = "the bridge host did not report a readable bridge file";
}

BridgeRig::~BridgeRig()
{
    m_host.reset();
    m_pcscd.reset();
    if (!m_directory.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_directory, ignored);
    }
}

std::string BridgeRig::ReaderName(int reader) const
{
    return reader == 0 ? "Virtual PCD 00 00" : "Virtual PCD 00 01";
}

bool BridgeRig::WaitForCard(int reader) const
{
    constexpr uint32_t kStatePresent = 0x20;
    BridgeClient client(m_hostPort, &m_token);
    bridge::EstablishContextReply context;
    if (client.Call(bridge::EstablishContextRequest{0}, context) != 0)
        return false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        bridge::GetStatusChangeRequest request;
        request.context = context.context;
        request.states = {{ReaderName(reader), 0}};
        bridge::GetStatusChangeReply reply;
        if (client.Call(request, reply) == 0 && reply.states.size() == 1 &&
            (reply.states[0].eventState & kStatePresent))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

bool BridgeRig::StartPcscd()
{
    // Rigs starting in parallel (scripts/pcsc-rig too) choose their ports
    // one at a time: this one holds the lock until its pcscd is up.
    const int lock = open("/tmp/velmora-pcsc-rig.lock", O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (lock >= 0)
        flock(lock, LOCK_EX);
    const bool started = StartPcscdLocked();
    if (lock >= 0)
        close(lock);
    return started;
}

bool BridgeRig::StartPcscdLocked()
{
    m_vpcdPort = RandomPortPair();
    if (m_vpcdPort == 0) {
        m_failure = "no free port pair for vpcd";
        return false;
    }
    std::filesystem::create_directories(m_directory + "/conf");
    std::filesystem::create_directories(m_directory + "/run");
    {
        char port[16];
        std::snprintf(port, sizeof port, "0x%04X", m_vpcdPort);
        std::ofstream conf(m_directory + "/conf/vpcd");
        conf << "FRIENDLYNAME \"Virtual PCD\"\n"
             << "DEVICENAME   /dev/null:" << port << "\n"
             << "LIBPATH      /usr/lib/pcsc/drivers/serial/libifdvpcd.so\n"
             << "CHANNELID    " << port << "\n";
    }
    // A private tmpfs on /run inside the namespace, so nothing outside changes.
    std::string script = "mount -t tmpfs -o size=1m,mode=755 bridge-rig /run && mkdir /run/pcscd && mount --bind '" +
                         m_directory +
                         "/run' /run/pcscd && exec pcscd --foreground -c '" + m_directory + "/conf' >/dev/null 2>&1";
    m_pcscd = std::make_unique<ChildProcess>(
        std::vector<std::string>{"unshare", "--mount", "--propagation", "private", "sh", "-c", script},
        std::vector<std::string>{}, false);
    if (!m_pcscd->Running() || !WaitForFile(SocketPath())) {
        m_failure = "pcscd did not start (root, pcscd and vsmartcard-vpcd are needed)";
        return false;
    }
    return true;
}

BridgeRig::Host BridgeRig::StartHost(const std::vector<std::string>& options) const
{
    std::vector<std::string> argv{BRIDGE_HOST_PATH};
    argv.insert(argv.end(), options.begin(), options.end());
    Host host;
    host.process = std::make_unique<ChildProcess>(
        argv, std::vector<std::string>{"PCSCLITE_CSOCK_NAME=" + SocketPath(), "XDG_RUNTIME_DIR=" + RuntimeDirectory()},
        true);
    host.file = host.process->ReadLine();
    std::ifstream file(host.file);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (auto endpoint = bridge::ParseBridgeFile(text))
        host.endpoint = *endpoint;
    return host;
}
