// Two independent pieces of work done at once, the second on a thread of its own: reading the
// two documents of a comparison shares nothing, and a desktop has more than one core.
#pragma once

#include <exception>
#include <system_error>
#include <thread>

namespace redline {

// Returns when both are done. A failure of the first is raised before one of the second, as if
// the two had run in turn; without a thread to be had they do.
template <typename First, typename Second>
void BothAtOnce(First&& first, Second&& second) {
    std::exception_ptr firstFailed, secondFailed;
    std::thread worker;
    try {
        worker = std::thread([&] {
            try {
                second();
            } catch (...) {
                secondFailed = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        first();
        second();
        return;
    }
    try {
        first();
    } catch (...) {
        firstFailed = std::current_exception();
    }
    worker.join();
    if (firstFailed) std::rethrow_exception(firstFailed);
    if (secondFailed) std::rethrow_exception(secondFailed);
}

}  // namespace redline
