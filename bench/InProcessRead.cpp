// inprocess-read: the cost of the workflow itself. Reads a profile's card in
// full through the dialog logic against the card model in-process (no
// pcscd, no sockets) and prints the median time per record read.
//
//   inprocess-read [PROFILE.json] [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "FakePcsc.h"
#include "ModelDouble.h"
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
    size_t records = 0;
    for (int run = 0; run < runs; ++run) {
        fake_pcsc::Reset();
        fake_pcsc::SetReaders({"Reader 0"});
        simcard::SimCard& card = model_double::InsertCard("Reader 0", profile);
        card.Reset();
        SilentView view(u"1234");
        const auto start = std::chrono::steady_clock::now();
        {
            MainDialogLogic logic(view);
            logic.OnInitDialog();
            if (logic.OnConnect() != ConnectOutcome::Connected) {
                std::fputs("inprocess-read: the card was not read\n", stderr);
                return 1;
            }
            records = logic.Adn().RecordCount + logic.Fdn().RecordCount + logic.Sms().recordCount;
        }
        const std::chrono::duration<double, std::micro> micros = std::chrono::steady_clock::now() - start;
        perRecord.push_back(micros.count() / static_cast<double>(std::max<size_t>(records, 1)));
    }
    std::sort(perRecord.begin(), perRecord.end());
    std::printf("in-process full read: %zu records, median %.2f us per record (%d runs)\n", records,
                perRecord[perRecord.size() / 2], runs);
    return 0;
}
