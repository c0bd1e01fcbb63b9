#include "WorkflowFixture.h"

#include <cstdio>

namespace ui_test {

namespace {

std::string HexByte(uint8_t value)
{
    char text[4];
    std::snprintf(text, sizeof text, "%02X", value);
    return text;
}

std::string Summary(const Bytes& command)
{
    if (command.size() < 5)
        return "SHORT " + fake_pcsc::Hex(command);
    switch (command[1]) {
    case 0xA4:
        return command.size() >= 7 ? "SELECT " + HexByte(command[5]) + HexByte(command[6]) : "SELECT ?";
    case 0xC0:
        return "GET RESPONSE";
    case 0xF2:
        return "STATUS";
    case 0xB0:
        return "READ BINARY " + std::to_string(command[4]);
    case 0xB2:
        return "READ RECORD " + std::to_string(command[2]);
    case 0x20: {
        std::string pin;
        for (size_t i = 5; i < command.size(); ++i)
            pin += HexByte(command[i]);
        return "VERIFY " + pin;
    }
    default:
        return fake_pcsc::Hex(command);
    }
}

} // namespace

std::vector<std::string> CommandSummary()
{
    std::vector<std::string> lines;
    for (const Bytes& command : fake_pcsc::SentCommands())
        lines.push_back(Summary(command));
    return lines;
}

std::vector<std::string> PcscCalls()
{
    return fake_pcsc::CallNames();
}

void WorkflowTest::SetUp()
{
    fake_pcsc::SetFailureHandler([](const std::string& message) { ADD_FAILURE() << message; });
    fake_pcsc::Reset();
    fake_pcsc::SetReaders({ReaderA});
    cards.Install();
}

void WorkflowTest::TearDown()
{
    logic.reset();
    EXPECT_EQ(fake_pcsc::OpenCardCount(), 0u) << "a connection was left open";
    EXPECT_EQ(fake_pcsc::OpenContextCount(), 0u) << "a context was left established";
    EXPECT_EQ(view.waitDepth, 0) << "the wait cursor was left on";
    fake_pcsc::SetFailureHandler({});
}

void WorkflowTest::Start(const simcard::CardProfile& profile)
{
    cards.Insert(ReaderA, profile);
    logic = std::make_unique<MainDialogLogic>(view);
    logic->OnInitDialog();
    view.calls.clear();
    fake_pcsc::ClearCalls();
}

} // namespace ui_test
