// inprocess-read: the cost of the workflow itself. Reads a profile's card in
// full through the dialog logic against the card model in-process (no
// pcscd, no sockets) and prints the median time per record read; then, as
// --full goes on from there, the median time of the full read after it
// (what the dialog's read lacks, the UICC probe, the decoding) and of its
// text view.
//
//   inprocess-read [PROFILE.json] [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "FakePcsc.h"
#include "ModelDouble.h"
#include "card/ReceivedFiles.h"
#include "cli/CardContentFlow.h"
#include "cli/FullText.h"
#include "ui/logic/MainDialogLogic.h"

namespace {

// A view that answers the PIN prompt with the profile's PIN and shows nothing.
class SilentView : public IMainView {
public:
    explicit SilentView(std::u16string pin) : m_pin(std::move(pin)) {}
    void SetControlText(int, const std::u16string&) override {}
    void EnableControl(int, bool) override {}
    void AddReaderName(const std::u16string&) override {}
    void SelectReader(int) override {}
    int GetSelectedReader() const override { return 0; }
    int ShowMessage(const std::u16string&, const std::u16string&, unsigned) override { return mb::IdNo; }
    bool AskPin(int, std::u16string& pin) override
    {
        pin = m_pin;
        return true;
    }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}

private:
    std::u16string m_pin;
};

} // namespace

int main(int argc, char** argv)
{
    const std::string profile = argc > 1 ? argv[1] : model_double::ProfilePath("full");
    const int runs = argc > 2 ? std::max(1, std::stoi(argv[2])) : 21;
    std::vector<double> perRecord;
    std::vector<double> fullRead;
    std::vector<double> fullText;
    size_t records = 0;
    size_t textBytes = 0;
    using Clock = std::chrono::steady_clock;
    using Micros = std::chrono::duration<double, std::micro>;
    for (int run = 0; run < runs; ++run) {
        fake_pcsc::Reset();
        fake_pcsc::SetReaders({"Reader 0"});
        simcard::SimCard& card = model_double::InsertCard("Reader 0", profile);
        card.Reset();
        SilentView view(u"1234");
        ReceivedFiles received;
        const auto start = Clock::now();
        MainDialogLogic logic(view);
        logic.OnInitDialog();
        logic.ReaderList().GetReader(0)->SetObserver(&received);
        if (logic.OnConnect() != ConnectOutcome::Connected) {
            std::fputs("inprocess-read: the card was not read\n", stderr);
            return 1;
        }
        records = logic.Adn().RecordCount + logic.Fdn().RecordCount + logic.Sms().recordCount;
        const auto read = Clock::now();
        perRecord.push_back(Micros(read - start).count() / static_cast<double>(std::max<size_t>(records, 1)));
        std::optional<CardContent> content;
        if (ReadCardContentAfterConnect(logic, view, ConnectOutcome::Connected, 0, 0, received, content) != 0 ||
            !content) {
            std::fputs("inprocess-read: the full read failed\n", stderr);
            return 1;
        }
        const auto full = Clock::now();
        textBytes = FullText(*content).size();
        fullRead.push_back(Micros(full - read).count());
        fullText.push_back(Micros(Clock::now() - full).count());
    }
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    std::printf("in-process full read: %zu records, median %.2f us per record (%d runs)\n", records,
                median(perRecord), runs);
    std::printf("in-process --full after it: median %.0f us the read, %.0f us its text view (%zu bytes)\n",
                median(fullRead), median(fullText), textBytes);
    return 0;
}
