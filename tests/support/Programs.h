// Other programs, started by the tests without a shell in between.
#pragma once

#include <string>
#include <vector>

// Starts a program with its arguments (no shell) and our environment plus `extraEnv`, in a
// process group of its own; answers its process id, or -1.
int StartProgram(const std::vector<std::string>& argv,
                 const std::vector<std::string>& extraEnv = {});
// Starts a program and waits for it; answers its exit code.
int RunProgram(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv = {});

struct ProgramRun {
    int exit;
    std::string out, err;
};

// Runs a program in `folder` (the current one when empty) and answers its exit code with what
// it printed on standard output and standard error.
ProgramRun RunCapturing(const std::vector<std::string>& argv, const std::string& folder = {});

// Runs a program with a terminal as its standard output (a pseudo-terminal), with `extraEnv`
// added to our environment; answers what it wrote there.
std::string RunOnTerminal(const std::vector<std::string>& argv,
                          const std::vector<std::string>& extraEnv = {});
