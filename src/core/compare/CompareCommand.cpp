#include "compare/CompareCommand.h"

#include "app/errors/StepTrap.h"

std::string TrimSpaces(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void CompareCommand::PushButton5_Click() {
    StepTrap trap(prompts_, kPushButton5Location);
    if (trap.returnIf(100, [&] { return isComparing_; })) return;
    trap.step(102, [&] { isComparing_ = true; });
    const bool bothFilled = trap.test(104, [&] {
        // Both boxes are always read and trimmed before the test.
        const std::string first = TrimSpaces(paths_.documentToCompare());
        const std::string second = TrimSpaces(paths_.documentToCompareWith());
        return !first.empty() && !second.empty();
    });
    if (bothFilled) {
        if (trap.test(106, [&] { return !word1_.ConfirmWordClosed(); })) {
            trap.step(108, [&] {
                word1_.CompareDocFiles(paths_.documentToCompare(), paths_.documentToCompareWith());
            });
            trap.step(116, [&] { prompts_.inform(kDoneMessage); });
        }
    } else {
        trap.step(118, [&] { prompts_.inform(kPleaseInputMessage); });
    }
    trap.step(120, [&] { isComparing_ = false; });
}
