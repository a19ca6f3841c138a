// The error trap of a procedure whose steps carry line numbers: a failing step is reported
// with the procedure's location text and the step's number, and the procedure goes on.
#pragma once

#include <functional>
#include <string>

#include "app/errors/Prompts.h"

class StepTrap {
  public:
    StepTrap(Prompts& prompts, std::string location)
        : prompts_(prompts), location_(std::move(location)) {}

    // Runs one step; a failure is reported and swallowed. Answers whether the step succeeded.
    bool step(int line, const std::function<void()>& action);

    // The test that opens a conditional block. A test that fails to evaluate is reported and
    // answers true, so the procedure goes on inside the block.
    bool test(int line, const std::function<bool()>& condition);

    // A test whose only action is an immediate return. A test that fails to evaluate is
    // reported and answers false, so the procedure goes on with its next step.
    bool returnIf(int line, const std::function<bool()>& condition);

  private:
    bool run(int line, const std::function<void()>& action);

    Prompts& prompts_;
    std::string location_;
};
