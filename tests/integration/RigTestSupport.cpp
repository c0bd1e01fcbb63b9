#include "RigTestSupport.h"

#include <cstdlib>
#include <thread>

namespace rig {

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string CardReaderName()
{
    const std::string name = Env("VELMORA_RIG_READER");
    return name.empty() ? "Virtual PCD 00 00" : name;
}

std::string EmptyReaderName()
{
    std::string name = CardReaderName();
    name.back() = name.back() == '0' ? '1' : '0';
    return name;
}

CCardReader* FindReader(const CCardReaderList& list, const std::string& name)
{
    for (unsigned i = 0; i < list.GetReaderCount(); ++i) {
        CCardReader* reader = list.GetReader(i);
        if (reader != nullptr && pcsc::ReaderNameToUtf8(reader->GetName()) == name)
            return reader;
    }
    return nullptr;
}

std::vector<std::string> ListedReaderNames()
{
    std::vector<std::string> names;
    SCARDCONTEXT context = 0;
    if (SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &context) != SCARD_S_SUCCESS)
        return names;
    DWORD length = 0;
    if (pcsc::ListReaders(context, nullptr, &length) == SCARD_S_SUCCESS && length > 0) {
        pcsc::ReaderName buffer(length, 0);
        if (pcsc::ListReaders(context, buffer.data(), &length) == SCARD_S_SUCCESS) {
            for (size_t start = 0; start < buffer.size() && buffer[start] != 0;) {
                size_t end = start;
                while (end < buffer.size() && buffer[end] != 0)
                    ++end;
                names.push_back(pcsc::ReaderNameToUtf8(buffer.substr(start, end - start)));
                start = end + 1;
            }
        }
    }
    SCardReleaseContext(context);
    return names;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::seconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

} // namespace rig
