#include <gtest/gtest.h>

#include <stdexcept>

#include "app/errors/ReportError.h"
#include "app/errors/StepTrap.h"
#include "automation/Error.h"
#include "support/ScriptedPrompts.h"

namespace {
const std::string kLocation = "in Vantrel2021/08/31.Form1.PushButton4_Click ";
[[noreturn]] void Fail(const std::string& description) {
    throw automation::Error(description);
}
}  // namespace

TEST(ErrorReport, TextRunsDescriptionLocationLineAndRequestTogether) {
    EXPECT_EQ(ErrorReportText("in Vantrel2021/08/31.Word1.CompareDocFiles ", 106, "Merge failed"),
              "Merge failed\r\nin Vantrel2021/08/31.Word1.CompareDocFiles at line 106\r\r"
              "Please email screenshot of this message to support@meldrisk.example");
}

TEST(ErrorReport, EmptyDescriptionLeavesTheFirstLineEmpty) {
    ScriptedPrompts prompts;
    ReportError(prompts, kLocation, 100, "");
    ASSERT_EQ(prompts.shown().size(), 1u);
    EXPECT_EQ(prompts.shown()[0].kind, "error");
    EXPECT_EQ(prompts.shown()[0].title, "Application Error");
    EXPECT_EQ(prompts.shown()[0].text.rfind(
                  "\r\nin Vantrel2021/08/31.Form1.PushButton4_Click at line 100\r\r", 0),
              0u);
}

TEST(StepTrap, EveryFailingStepIsReportedInOrderAndTheProcedureGoesOn) {
    ScriptedPrompts prompts;
    StepTrap trap(prompts, kLocation);
    std::vector<int> ran;
    EXPECT_FALSE(trap.step(100, [] { Fail("first"); }));
    EXPECT_TRUE(trap.step(102, [&] { ran.push_back(102); }));
    EXPECT_FALSE(trap.step(104, [] { throw std::runtime_error("second"); }));
    EXPECT_TRUE(trap.step(106, [&] { ran.push_back(106); }));
    EXPECT_EQ(ran, (std::vector<int>{102, 106}));
    EXPECT_EQ(prompts.texts(),
              (std::vector<std::string>{ErrorReportText(kLocation, 100, "first"),
                                        ErrorReportText(kLocation, 104, "second")}));
}

TEST(StepTrap, AFailingBlockTestEntersTheBlockAndAFailingReturnTestGoesOn) {
    ScriptedPrompts prompts;
    StepTrap trap(prompts, kLocation);
    EXPECT_TRUE(trap.test(104, []() -> bool { Fail("test"); }));
    EXPECT_FALSE(trap.returnIf(100, []() -> bool { Fail("return test"); }));
    EXPECT_EQ(prompts.shown().size(), 2u);
    // Tests that evaluate answer what they evaluate to, without a report.
    EXPECT_FALSE(trap.test(106, [] { return false; }));
    EXPECT_TRUE(trap.returnIf(108, [] { return true; }));
    EXPECT_EQ(prompts.shown().size(), 2u);
}

TEST(StepTrap, AFailureInsideAnUntrappedRoutineIsReportedWithTheCallersLine) {
    ScriptedPrompts prompts;
    StepTrap trap(prompts, kLocation);
    bool restOfRoutineRan = false;
    auto untrappedRoutine = [&] {
        Fail("inner");
        restOfRoutineRan = true;
    };
    trap.step(112, untrappedRoutine);
    EXPECT_FALSE(restOfRoutineRan);
    EXPECT_EQ(prompts.texts(),
              (std::vector<std::string>{ErrorReportText(kLocation, 112, "inner")}));
}
