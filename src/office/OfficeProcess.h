// One office process of our own: started in its own session with a private user profile, so a
// LibreOffice that the user has open is never touched. It ends with this program, however the
// program ends, unless it was handed to the user (detach): then it runs on.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "office/ProfileFolders.h"

namespace office {

class KeptProcess;

// Checks that the office in `programDir` has what standing in for Word needs: the office, its
// word processor and the Word filters. Raises automation::Error naming the package to install.
void CheckOfficeInstalled(const std::string& programDir);

class OfficeProcess {
  public:
    // Starts soffice.bin from `programDir`, listening on the pipe `pipeName`. Raises
    // automation::Error when it cannot be started at all.
    OfficeProcess(const std::string& programDir, const std::string& pipeName, bool headless);
    // Ends the process unless detach() was called.
    ~OfficeProcess();
    OfficeProcess(const OfficeProcess&) = delete;
    OfficeProcess& operator=(const OfficeProcess&) = delete;

    pid_t pid() const;
    // The folder of its private profile, which only we can enter.
    const std::string& profile() const { return profile_; }
    bool alive() const;
    // Kills the process if it still runs. Held by a process descriptor, never by its number,
    // so once it has ended no other process that came to carry the number is signalled.
    void kill();
    // Waits up to `limit` for the process to end on its own; answers whether it did.
    bool waitForExit(std::chrono::milliseconds limit) const;
    // Leaves the process running when this object or the program goes: it belongs to the user.
    void detach();
    // Starts the same office again on the same profile (after a start that only set the
    // profile up and asked for it).
    void restart();
    // How the process ended, as waitpid tells it; empty while it runs, or when it cannot be told.
    std::optional<int> waitStatus();
    // The end of what the process wrote on its standard output and error since it was started.
    std::string output() const;

  private:
    void spawn();

    std::string programDir_;
    std::string pipeName_;
    std::string profile_;
    bool headless_;
    std::unique_ptr<KeptProcess> process_;
    bool detached_ = false;
};

}  // namespace office
