// Starts an office under a keeper: a small process of ours on the office's side that holds one
// end of a lifeline. When our end closes without a word (this program ended, however it ended,
// or let the office go), the keeper ends the office; told to let it run on, the keeper leaves
// and the office belongs to the user.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace office {

// A program's arguments and environment, laid out before fork: after it, in the child of a
// threaded process, only async-signal-safe calls are allowed.
class CommandLine {
  public:
    // `outputFile`: where the program's standard output and error go (made anew, only we may
    // read it); empty for nowhere.
    CommandLine(std::vector<std::string> args, std::vector<std::string> env,
                std::string outputFile = {});
    [[noreturn]] void exec() const;

  private:
    std::vector<std::string> args_, env_;
    std::vector<char*> argv_, envp_;
    std::string outputFile_;
};

class KeptProcess {
  public:
    // Starts `command` in a session of its own, under its keeper. Answers false when it cannot.
    bool start(const CommandLine& command);
    ~KeptProcess();

    pid_t pid() const { return pid_; }
    // A descriptor of the process itself: it never names another process, even once this one
    // has ended and its number has been given to another.
    int pidfd() const { return pidfd_; }
    // Tells the keeper to leave the process running, for good.
    void letRunOn();
    // Closes the lifeline: the keeper ends the process if it still runs.
    void endKeeping();
    // How the process ended, as waitpid tells it (WIFEXITED, WTERMSIG...), once it has; waits up
    // to `limit` for the keeper's word. Empty while it runs, or when the keeper could not tell.
    std::optional<int> waitStatus(std::chrono::milliseconds limit);

  private:
    void reapKeeper();

    pid_t pid_ = -1;
    int pidfd_ = -1;
    int lifeline_ = -1;
    pid_t keeper_ = -1;
    std::optional<int> waitStatus_;
};

}  // namespace office
