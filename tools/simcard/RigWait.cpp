// pcsc-rig-wait: waits until pcscd lists at least N readers and, if asked,
// until the named reader holds a card (--card) or holds none (--empty).
// For scripts/pcsc-rig and the scripts it runs.
//   pcsc-rig-wait --readers N [--card NAME | --empty NAME [--events-after K]]
//                 [--timeout SECONDS]
// With --card it prints "events=K", pcscd's count of insertions and removals
// seen in that reader; --empty --events-after K then waits until pcscd itself
// saw the card leave (its count moved past K), not only a failed reset.
// Exits 0 when the state is reached, 1 on time-out, 2 on a usage error.
#include <PCSC/winscard.h>
#include <PCSC/wintypes.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace {

std::vector<std::string> ListReaders(SCARDCONTEXT context)
{
    DWORD length = 0;
    std::vector<std::string> names;
    if (SCardListReaders(context, nullptr, nullptr, &length) != SCARD_S_SUCCESS || length == 0)
        return names;
    std::string buffer(length, '\0');
    if (SCardListReaders(context, nullptr, buffer.data(), &length) != SCARD_S_SUCCESS)
        return names;
    buffer.resize(length);
    for (size_t start = 0; start < buffer.size() && buffer[start] != '\0';) {
        const size_t end = buffer.find('\0', start);
        names.push_back(buffer.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

bool Listed(const std::vector<std::string>& names, const std::string& name)
{
    for (const std::string& listed : names) {
        if (listed == name)
            return true;
    }
    return false;
}

// With a card: the reader reports one. Without: the reader reports itself
// empty and pcscd's event count passed `eventsAfter`: a failed reset of a
// pulled card makes the reader look empty before pcscd's polling saw the
// card go, and a card inserted in between would go unnoticed.
bool InState(SCARDCONTEXT context, const std::string& reader, bool withCard, long eventsAfter, unsigned long& events)
{
    SCARD_READERSTATE state{};
    state.szReader = reader.c_str();
    state.dwCurrentState = SCARD_STATE_UNAWARE;
    if (SCardGetStatusChange(context, 0, &state, 1) != SCARD_S_SUCCESS)
        return false;
    events = (state.dwEventState >> 16) & 0xFFFF;
    if (withCard)
        return (state.dwEventState & SCARD_STATE_PRESENT) != 0;
    return (state.dwEventState & SCARD_STATE_EMPTY) != 0 && static_cast<long>(events) != eventsAfter;
}

// A whole decimal number from 0 to `max`: no sign, no space, nothing after it.
bool ParseNumber(const char* text, unsigned long max, unsigned long& value)
{
    if (*text < '0' || *text > '9')
        return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long parsed = std::strtoul(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed > max)
        return false;
    value = parsed;
    return true;
}

int Usage()
{
    std::cerr << "usage: pcsc-rig-wait --readers N [--card NAME | --empty NAME [--events-after K]] [--timeout SECONDS]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    unsigned long readers = 1;
    std::string card; // empty: readers only
    bool wantCard = true;
    long eventsAfter = -1;
    unsigned long events = 0;
    unsigned long timeoutSeconds = 20;
    if (argc % 2 == 0)
        return Usage();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const char* text = argv[i + 1];
        unsigned long value = 0;
        if (option == "--card" || option == "--empty") {
            card = text;
            wantCard = option == "--card";
        } else if (option == "--readers" && ParseNumber(text, 16, value)) {
            readers = value;
        } else if (option == "--events-after" && ParseNumber(text, 0xFFFF, value)) {
            eventsAfter = static_cast<long>(value); // pcscd counts events in 16 bits
        } else if (option == "--timeout" && ParseNumber(text, 24 * 3600, value)) {
            timeoutSeconds = value;
        } else {
            return Usage();
        }
    }

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    SCARDCONTEXT context = 0;
    size_t seen = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        if (context == 0 && SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &context) != SCARD_S_SUCCESS)
            context = 0;
        if (context != 0) {
            const std::vector<std::string> names = ListReaders(context);
            seen = names.size();
            const bool readersUp = names.size() >= readers;
            if (readersUp && (card.empty() || (Listed(names, card) && InState(context, card, wantCard, eventsAfter, events)))) {
                SCardReleaseContext(context);
                if (!card.empty() && wantCard)
                    std::cout << "events=" << events << '\n';
                return 0;
            }
            if (SCardIsValidContext(context) != SCARD_S_SUCCESS) {
                SCardReleaseContext(context);
                context = 0;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (context != 0)
        SCardReleaseContext(context);
    std::cerr << "pcsc-rig-wait: timed out with " << seen << " of " << readers << " readers"
              << (card.empty() ? "" : wantCard ? " or no card" : " or a card still in") << '\n';
    return 1;
}
