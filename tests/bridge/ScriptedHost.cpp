#include "ScriptedHost.h"

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
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

void SendAll(SOCKET s, const std::vector<uint8_t>& data)
{
    send(s, reinterpret_cast<const char*>(data.data()), static_cast<int>(data.size()), 0);
}

std::vector<uint8_t> RandomBytes(size_t size)
{
    std::random_device random;
    std::vector<uint8_t> bytes(size);
    for (uint8_t& byte : bytes)
        byte = static_cast<uint8_t>(random());
    return bytes;
}

} // namespace

ScriptedHost::ScriptedHost(Handler handler) : m_handler(std::move(handler))
{
    m_token = RandomBytes(kTokenSize);
    Start(0, m_token);
}

ScriptedHost::ScriptedHost(Handler handler, const BridgeEndpoint& gone) : m_handler(std::move(handler))
{
    m_impostor = true;
    m_token = RandomBytes(kTokenSize);
    Start(gone.port, gone.token);
}

void ScriptedHost::Start(uint16_t port, const std::vector<uint8_t>& fileToken)
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    BOOL on = TRUE;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    int length = sizeof address;
    if (listener == INVALID_SOCKET || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 16) != 0 || getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listener != INVALID_SOCKET)
            closesocket(listener);
        return;
    }
    m_listener = listener;
    m_port = ntohs(address.sin_port);

    wchar_t directory[MAX_PATH];
    wchar_t file[MAX_PATH];
    GetTempPathW(MAX_PATH, directory);
    GetTempFileNameW(directory, L"vbr", 0, file);
    m_file = file;
    WriteBridgeFile(FormatBridgeFile({m_port, fileToken}));
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

std::optional<std::vector<uint8_t>> ScriptedHost::ReceiveBody(uintptr_t socket)
{
    uint8_t header[kFrameHeaderSize];
    if (!ReceiveExactly(socket, header, sizeof header))
        return std::nullopt;
    std::optional<size_t> size = DecodeFrameHeader(header);
    std::vector<uint8_t> body(size.value_or(0));
    bool whole = size && ReceiveExactly(socket, body.data(), body.size());
    std::lock_guard<std::mutex> lock(m_mutex);
    m_received.insert(m_received.end(), header, header + sizeof header);
    m_received.insert(m_received.end(), body.begin(), body.end());
    return whole ? std::optional(body) : std::nullopt;
}

bool ScriptedHost::Received(const std::vector<uint8_t>& bytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::search(m_received.begin(), m_received.end(), bytes.begin(), bytes.end()) != m_received.end();
}

bool ScriptedHost::Handshake(uintptr_t socket)
{
    auto helloBody = ReceiveBody(socket);
    HelloRequest hello;
    if (!helloBody || DecodeHandshake(helloBody->data(), helloBody->size(), hello) != DecodeStatus::Ok)
        return false;
    HelloReply reply;
    reply.challenge = RandomBytes(kChallengeSize);
    reply.proof = HandshakeProof(Prover::Host, m_token, hello.challenge, reply.challenge);
    SendAll(socket, *EncodeFrame(reply));
    auto proofBody = ReceiveBody(socket);
    ProofRequest proof;
    if (!proofBody || DecodeHandshake(proofBody->data(), proofBody->size(), proof) != DecodeStatus::Ok ||
        (!m_impostor && !ProofValid(Prover::Client, m_token, hello.challenge, reply.challenge, proof.proof)))
        return false;
    SendAll(socket, *EncodeFrame(ProofReply{}));
    return true;
}

void ScriptedHost::Serve(uintptr_t socket)
{
    ++m_connections;
    if (!Handshake(socket)) {
        shutdown(socket, SD_BOTH);
        return;
    }
    ++m_authenticated;
    while (auto body = ReceiveBody(socket)) {
        Request request;
        if (DecodeRequest(body->data(), body->size(), request) != DecodeStatus::Ok)
            return;
        ++m_requests;
        if (auto reply = m_handler(request))
            SendAll(socket, *reply);
    }
}
