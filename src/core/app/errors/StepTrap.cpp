#include "app/errors/StepTrap.h"

#include <exception>

#include "app/errors/ReportError.h"
#include "automation/Error.h"

bool StepTrap::run(int line, const std::function<void()>& action) {
    std::string description;
    try {
        action();
        return true;
    } catch (const automation::Error& e) {
        description = e.description();
    } catch (const std::exception& e) {
        description = e.what();
    } catch (...) {
        description = "An unexpected error occurred.";
    }
    // Reported after the catch, so the modal report runs with no exception in flight.
    ReportError(prompts_, location_, line, description);
    return false;
}

bool StepTrap::step(int line, const std::function<void()>& action) {
    return run(line, action);
}

bool StepTrap::test(int line, const std::function<bool()>& condition) {
    bool holds = true;
    run(line, [&] { holds = condition(); });
    return holds;
}

bool StepTrap::returnIf(int line, const std::function<bool()>& condition) {
    bool holds = false;
    run(line, [&] { holds = condition(); });
    return holds;
}
