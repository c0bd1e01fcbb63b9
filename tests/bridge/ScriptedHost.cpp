#include "ScriptedHost.h"

#include <winsock2.h>
#include <windows.h>

#include <random>

#include "tools/pcsc-bridge/BridgeFile.h"

using namespace bridge;

namespace {

bool ReceiveExactly(SOCKET s, uint8_t* data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        int n = recv(s, reinterpret_cast<char*>(data + done), static_cast<int>(size - done), 0);
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

std::optional<std::vector<uint8_t>> ReceiveBody(SOCKET s)
{
    uint8_t header[kFrameHeaderSize];
    if (!ReceiveExactly(s, header, sizeof header))
        return std::nullopt;
    auto size = DecodeFrameHeader(header);
    if (!size)
        return std::nullopt;
    std::vector<uint8_t> body(*size);
    if (!ReceiveExactly(s, body.data(), body.size()))
        return std::nullopt;
    return body;
}

void SendAll(SOCKET s, const std::vector<uint8_t>& data)
{
    send(s, reinterpret_cast<const char*>(data.data()), static_cast<int>(data.size()), 0);
}

} // namespace

ScriptedHost::ScriptedHost(Handler handler) : m_handler(std::move(handler))
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    std::random_device random;
    for (size_t i = 0; i < kTokenSize; ++i)
        m_token.push_back(static_cast<uint8_t>(random()));

    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (listener == INVALID_SOCKET || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 16) != 0 || getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listener != INVALID_SOCKET)
            closesocket(listener);
        return;
    }
    m_listener = listener;

    wchar_t directory[MAX_PATH];
    wchar_t file[MAX_PATH];
    GetTempPathW(MAX_PATH, directory);
    GetTempFileNameW(directory, L"vbr", 0, file);
    m_file = file;
    WriteBridgeFile(FormatBridgeFile({ntohs(address.sin_port), m_token}));
    SetEnvironmentVariableW(L"VELMORA_BRIDGE_FILE", m_file.c_str());
    m_acceptor = std::thread([this] { AcceptLoop(); });
}

ScriptedHost::~ScriptedHost()
{
    m_stopping = true;
    SetEnvironmentVariableW(L"VELMORA_BRIDGE_FILE", nullptr);
    if (m_listener != kNoSocket)
        closesocket(m_listener);
    if (m_acceptor.joinable())
        m_acceptor.join();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (uintptr_t s : m_sockets)
            shutdown(s, SD_BOTH); // ends the connection threads' reads
    }
    for (std::thread& thread : m_threads)
        thread.join();
    for (uintptr_t s : m_sockets)
        closesocket(s);
    if (!m_file.empty())
        DeleteFileW(m_file.c_str());
}

void ScriptedHost::WriteBridgeFile(const std::string& text) const
{
    HANDLE file = CreateFileW(m_file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

void ScriptedHost::AcceptLoop()
{
    for (;;) {
        SOCKET client = accept(m_listener, nullptr, nullptr);
        if (client == INVALID_SOCKET || m_stopping) {
            if (client != INVALID_SOCKET)
                closesocket(client);
            return;
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        m_sockets.push_back(client);
        m_threads.emplace_back([this, client] { Serve(client); });
    }
}

void ScriptedHost::Serve(uintptr_t socket)
{
    auto hello = ReceiveBody(socket);
    HelloRequest token;
    if (!hello || DecodeHello(hello->data(), hello->size(), token) != DecodeStatus::Ok || token.token != m_token) {
        shutdown(socket, SD_BOTH);
        return;
    }
    ++m_authenticated;
    SendAll(socket, *EncodeFrame(HelloReply{}));
    while (auto body = ReceiveBody(socket)) {
        Request request;
        if (DecodeRequest(body->data(), body->size(), request) != DecodeStatus::Ok)
            return;
        if (auto reply = m_handler(request))
            SendAll(socket, *reply);
    }
}
