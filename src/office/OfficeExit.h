// How an office that ended while starting ended: the exit status by which it asks to be started
// again, and the user's words for every other end.
#pragma once

#include <optional>
#include <string>

namespace office {

// The exit status by which the office asks to be started again on the same profile: it does so
// after setting up a new profile, and may do so again while it brings its extensions up to date.
inline constexpr int kOfficeAsksForRestart = 81;

// Whether a process that ended with `waitStatus` (as waitpid gives it) asked to be started again.
bool AsksForRestart(std::optional<int> waitStatus);

// How a process ended, in a few words: "exit status 81", "signal 11 (Segmentation fault)".
std::string EndOf(std::optional<int> waitStatus);

// The last line the office wrote in `output`, cleaned of control characters and shortened to
// fit a message; empty when it wrote nothing.
std::string LastWords(const std::string& output);

// The whole message for an office that ended while starting, however it ended (`waitStatus`
// empty: it could not be told), with its last words and what the user can try.
std::string EndedWhileStarting(std::optional<int> waitStatus, const std::string& output);

}  // namespace office
