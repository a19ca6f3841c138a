// quorvane-compare as the tests run it: the Linux program, or, when QUORVANE_WINDOWS_TOOL names
// quorvane-compare.exe, the Windows one under Wine (whose drive Z: is the Unix root, so that the
// tests' paths name the same files there).
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

// quorvane-compare.exe when the tests run it under Wine, else null.
inline const char* WindowsTool() {
    const char* exe = std::getenv("QUORVANE_WINDOWS_TOOL");
    return exe && *exe ? exe : nullptr;
}

// The command that runs the program with `args`.
inline std::vector<std::string> ToolCommand(const std::vector<std::string>& args = {}) {
    std::vector<std::string> command = {QUORVANE_COMPARE_TOOL};
    if (const char* exe = WindowsTool()) command = {"wine", exe};
    command.insert(command.end(), args.begin(), args.end());
    return command;
}
