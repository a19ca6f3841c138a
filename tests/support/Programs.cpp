#include "support/Programs.h"

#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/Files.h"

extern char** environ;

int StartProgram(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv) {
    std::vector<std::string> env(extraEnv);
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    std::vector<char*> args, envp;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    // A process group of its own, so a test can end it with everything it started.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, args[0], nullptr, &attributes, args.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    return failed ? -1 : pid;
}

int RunProgram(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv) {
    const int pid = StartProgram(argv, extraEnv);
    if (pid < 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ProgramRun RunCapturing(const std::vector<std::string>& argv, const std::string& folder) {
    TemporaryFolder streams;
    const std::string out = streams.path() + "/out", err = streams.path() + "/err";
    // The paths reach the shell as its arguments and environment, never inside its script.
    std::vector<std::string> args = {"sh", "-c",
                                     "cd \"${DIR:-.}\" && exec \"$@\" >\"$OUT\" 2>\"$ERR\"", "sh"};
    args.insert(args.end(), argv.begin(), argv.end());
    const int exit = RunProgram(args, {"OUT=" + out, "ERR=" + err, "DIR=" + folder});
    return {exit, ReadFile(out), ReadFile(err)};
}

std::string RunOnTerminal(const std::vector<std::string>& argv,
                          const std::vector<std::string>& extraEnv) {
    int terminal = -1;
    const pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (pid < 0) return {};
    if (pid == 0) {
        for (const std::string& setting : extraEnv) putenv(const_cast<char*>(setting.c_str()));
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    std::string out;
    char buffer[4096];
    for (ssize_t got; (got = read(terminal, buffer, sizeof buffer)) > 0;) out.append(buffer, got);
    close(terminal);
    waitpid(pid, nullptr, 0);
    return out;
}
