// Shared set-up of the workflow tests: a fresh PC/SC test double with one
// reader holding the simulated demo card, a recording view and the logic.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FakePcsc.h"
#include "RecordingView.h"
#include "SimulatedCards.h"
#include "ui/logic/MainDialogLogic.h"

namespace ui_test {

constexpr const char* ReaderA = "Reader A";

// The card commands sent, one line each: "SELECT 3F00", "GET RESPONSE",
// "STATUS", "READ BINARY 10", "READ RECORD 3", "VERIFY 31323334FFFFFFFF".
std::vector<std::string> CommandSummary();

// The names of the PC/SC calls made, in order.
std::vector<std::string> PcscCalls();

class WorkflowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Puts `profile` in Reader A, creates the logic and runs OnInitDialog;
    // the view's record starts empty afterwards.
    void Start(const simcard::CardProfile& profile);

    RecordingView view;
    SimulatedCards cards;
    std::unique_ptr<MainDialogLogic> logic;
};

} // namespace ui_test
