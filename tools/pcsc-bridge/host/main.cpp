// pcsc-bridge: executes the PC/SC calls of the replacement winscard.dll
// against pcsc-lite. Listens on 127.0.0.1 only, one thread per client.
//
//   pcsc-bridge [--port N] [--port-file FILE] [--frame-timeout-ms MS]
//
// Prints the port it listens on as one line on stdout (and into FILE). A
// frame must arrive whole within MS (default 5000) after its first byte.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include <signal.h>
#include <unistd.h>

#include "ClientConnection.h"
#include "LoopbackListener.h"

namespace {

constexpr int kMaxClients = 32;
std::atomic<int> g_clients{0};
std::chrono::milliseconds g_frameTimeout = ClientConnection::kDefaultFrameTimeout;

void Usage()
{
    std::fprintf(stderr, "usage: pcsc-bridge [--port N] [--port-file FILE] [--frame-timeout-ms MS]\n");
    std::exit(2);
}

bool WritePortFile(const std::string& path, uint16_t port)
{
    std::string temporary = path + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "w");
    if (!file)
        return false;
    std::fprintf(file, "%u\n", port);
    bool ok = std::fclose(file) == 0;
    return ok && std::rename(temporary.c_str(), path.c_str()) == 0;
}

void ServeClient(int socket)
{
    ClientConnection connection(socket, g_frameTimeout);
    connection.Serve();
    --g_clients;
}

} // namespace

int main(int argc, char** argv)
{
    unsigned long port = 0;
    std::string portFile;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc) {
            char* end = nullptr;
            port = std::strtoul(argv[++i], &end, 10);
            if (*end != '\0' || port > 65535)
                Usage();
        } else if (std::strcmp(argv[i], "--frame-timeout-ms") == 0 && i + 1 < argc) {
            char* end = nullptr;
            unsigned long ms = std::strtoul(argv[++i], &end, 10);
            if (*end != '\0' || ms == 0 || ms > 3600000)
                Usage();
            g_frameTimeout = std::chrono::milliseconds(ms);
        } else if (std::strcmp(argv[i], "--port-file") == 0 && i + 1 < argc) {
            portFile = argv[++i];
        } else {
            Usage();
        }
    }

    // A client or pcscd that goes away is seen as a failed write, not a signal.
    signal(SIGPIPE, SIG_IGN);

    LoopbackListener listener;
    if (!listener.Listen(static_cast<uint16_t>(port))) {
        std::perror("pcsc-bridge: listen");
        return 1;
    }
    std::printf("%u\n", listener.Port());
    std::fflush(stdout);
    if (!portFile.empty() && !WritePortFile(portFile, listener.Port())) {
        std::perror("pcsc-bridge: port file");
        return 1;
    }

    for (;;) {
        int client = listener.Accept();
        if (client < 0) {
            std::perror("pcsc-bridge: accept");
            return 1;
        }
        if (g_clients >= kMaxClients) {
            close(client);
            continue;
        }
        ++g_clients;
        std::thread(ServeClient, client).detach();
    }
}
