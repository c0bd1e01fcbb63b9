// simcard: a simulated GSM SIM in pcscd's vpcd reader (see SimcardOptions.cpp).
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <poll.h>
#include <sys/stat.h>

#include "ApduTrace.h"
#include "ProfileLoader.h"
#include "SimCard.h"
#include "SimcardOptions.h"
#include "VpcdLink.h"

using namespace simcard;

namespace {

volatile sig_atomic_t g_stopSignal = 0;

void OnStopSignal(int signal)
{
    g_stopSignal = signal;
}

// Blocks the stop signals except while waiting (ppoll with `waitMask`), so
// that a signal can never slip in between a check and a wait.
void InstallStopSignals(sigset_t& waitMask)
{
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
        sigaddset(&stopSignals, signal);
    }
    sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigdelset(&waitMask, signal);
}

bool WaitForFile(const std::string& path, const sigset_t& waitMask)
{
    struct stat info {};
    while (stat(path.c_str(), &info) != 0) {
        const timespec delay{0, 20 * 1000000L};
        if (ppoll(nullptr, 0, &delay, &waitMask) != 0)
            return false;
    }
    return true;
}

enum class End { VpcdClosed, Removed, Stopped };

// Answers vpcd until it closes the link, the card is removed or a stop signal.
End Serve(VpcdLink& link, SimCard& card, ApduTrace& trace, const SimcardOptions& options, const sigset_t& waitMask)
{
    uint64_t answered = 0;
    std::vector<uint8_t> message;
    for (;;) {
        bool interrupted = false;
        if (!link.Receive(message, waitMask, interrupted))
            return interrupted ? End::Stopped : End::VpcdClosed;
        if (message.size() == 1) {
            switch (static_cast<VpcdControl>(message[0])) {
            case VpcdControl::PowerOff:
                trace.Note("power off");
                break;
            case VpcdControl::PowerOn:
                trace.Note("power on");
                card.Reset();
                break;
            case VpcdControl::Reset:
                trace.Note("reset");
                card.Reset();
                break;
            case VpcdControl::GetAtr:
                trace.Note("ATR " + ApduTrace::Hex(card.Atr()));
                link.Send(card.Atr());
                break;
            default:
                trace.Note("unknown control " + ApduTrace::Hex(message));
                break;
            }
            continue;
        }
        trace.Command(message);
        if (options.removeAfter && answered >= *options.removeAfter) {
            trace.Note("card removed");
            link.Abort();
            return End::Removed;
        }
        const std::vector<uint8_t> response = card.Transmit(message);
        trace.Response(response);
        link.Send(response);
        ++answered;
    }
}

void ReportCounts(const SimCard& card, const SimcardOptions& options)
{
    const std::string summary = card.Counts().Summary();
    std::cout << "simcard: " << summary << std::endl;
    if (!options.countsFile.empty()) {
        std::ofstream out(options.countsFile, std::ios::trunc);
        out << summary << '\n';
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::string error;
    const std::optional<SimcardOptions> options = ParseSimcardOptions(argc, argv, error);
    if (!options) {
        std::cerr << (error.empty() ? "" : "simcard: " + error + "\n") << SimcardUsage;
        return error.empty() ? 0 : 2;
    }
    CardProfile profile;
    try {
        profile = LoadProfile(options->profile);
    } catch (const ProfileError& problem) {
        std::cerr << "simcard: " << problem.what() << '\n';
        return 2;
    }
    ApduTrace trace;
    if (!trace.Open(options->traceFile)) {
        std::cerr << "simcard: cannot write " << options->traceFile << '\n';
        return 2;
    }

    sigset_t waitMask;
    InstallStopSignals(waitMask);
    SimCard card(profile);
    int status = 0;
    if (options->insertWhen.empty() || WaitForFile(options->insertWhen, waitMask)) {
        VpcdLink link;
        if (link.Connect(options->port, 100, waitMask, error)) {
            trace.Note("inserted");
            const End end = Serve(link, card, trace, *options, waitMask);
            if (end == End::VpcdClosed)
                trace.Note("vpcd closed the link");
        } else if (g_stopSignal == 0) {
            std::cerr << "simcard: " << error << '\n';
            status = 1;
        }
    }
    ReportCounts(card, *options);
    return status;
}
