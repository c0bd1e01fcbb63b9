// pcsc-bridge: executes the PC/SC calls of the replacement winscard.dll
// against pcsc-lite. Listens on 127.0.0.1 only, one thread per client.
//
//   pcsc-bridge [--port N] [--frame-timeout-ms MS] [--send-timeout-ms MS]
//               [--max-handshakes N]
//
// Writes its port and a fresh random token into a bridge file in a private
// directory (see PrivateBridgeFile.h), having removed those of hosts that are
// gone, and prints the file's path as one line on stdout; only a client that
// proves it holds the token, after the host proved it first (Handshake.h),
// is served. A frame must arrive whole within the frame time-out (default
// 5000 ms), the whole hand-shake within that time from the connection's
// start; at most --max-handshakes connections (default 16) are in their
// hand-shake at once, one more ends the oldest's. A client that does not
// take a reply within the send time-out (default 10000 ms) is dropped.
#include <atomic>
#include <chrono>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>
#include <thread>

#include <signal.h>
#include <unistd.h>

#include "ClientConnection.h"
#include "LoopbackListener.h"
#include "PendingHandshakes.h"
#include "PrivateBridgeFile.h"
#include "RandomBytes.h"
#include "tools/pcsc-bridge/BridgeProtocol.h"

namespace {

// Authenticated clients served at once.
constexpr int kMaxClients = 32;
std::atomic<int> g_clients{0};
ClientConnection::Settings g_settings;
PendingHandshakes* g_pending = nullptr;

[[noreturn]] void Usage()
{
    std::fprintf(stderr, "usage: pcsc-bridge [--port N] [--frame-timeout-ms MS] [--send-timeout-ms MS] "
                         "[--max-handshakes N]\n");
    std::exit(2);
}

unsigned long Number(const char* text, unsigned long low, unsigned long high)
{
    char* end = nullptr;
    errno = 0;
    unsigned long value = std::strtoul(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < low || value > high)
        Usage();
    return value;
}

void ServeClient(int socket)
{
    ClientConnection connection(socket, g_settings);
    bool authenticated = false;
    {
        PendingHandshakes::Entry pending(*g_pending, connection);
        authenticated = connection.Authenticate();
    }
    if (!authenticated)
        return;
    if (++g_clients > kMaxClients) {
        --g_clients;
        return;
    }
    connection.Serve();
    --g_clients;
}

void OnStopSignal(int)
{
    PrivateBridgeFile::RemoveOnSignal();
    _exit(0);
}

} // namespace

int main(int argc, char** argv)
{
    unsigned long port = 0;
    unsigned long maxHandshakes = 16;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc)
            port = Number(argv[++i], 0, 65535);
        else if (std::strcmp(argv[i], "--frame-timeout-ms") == 0 && i + 1 < argc)
            g_settings.frameTimeout = std::chrono::milliseconds(Number(argv[++i], 1, 3600000));
        else if (std::strcmp(argv[i], "--send-timeout-ms") == 0 && i + 1 < argc)
            g_settings.sendTimeout = std::chrono::milliseconds(Number(argv[++i], 1, 3600000));
        else if (std::strcmp(argv[i], "--max-handshakes") == 0 && i + 1 < argc)
            maxHandshakes = Number(argv[++i], 1, 1024);
        else
            Usage();
    }
    // Never freed: detached client threads use it until the process ends.
    g_pending = new PendingHandshakes(maxHandshakes);

    // A client or pcscd that goes away is seen as a failed write, not a signal.
    signal(SIGPIPE, SIG_IGN);

    g_settings.token = RandomBytes(bridge::kTokenSize);
    if (g_settings.token.empty()) {
        std::perror("pcsc-bridge: getrandom");
        return 1;
    }
    LoopbackListener listener;
    if (!listener.Listen(static_cast<uint16_t>(port))) {
        std::perror("pcsc-bridge: listen");
        return 1;
    }
    PrivateBridgeFile file;
    struct sigaction stop = {};
    stop.sa_handler = OnStopSignal;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &stop, nullptr);
    if (!file.Create({listener.Port(), g_settings.token})) {
        std::perror("pcsc-bridge: bridge file");
        return 1;
    }
    std::printf("%s\n", file.Path().c_str());
    std::fflush(stdout);

    for (;;) {
        int client = listener.Accept();
        if (client < 0) {
            std::perror("pcsc-bridge: accept");
            return 1;
        }
        try {
            std::thread(ServeClient, client).detach();
        } catch (const std::system_error&) {
            close(client); // no thread for this client now; the others go on
        }
    }
}
