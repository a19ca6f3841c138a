// One office process of our own: started in its own session with a private user profile, so a
// LibreOffice that the user has open is never touched, and able to outlive this program.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>

namespace office {

// The folder that holds the private profiles: one sub-folder per office process.
std::string ProfileRoot();

// Removes the profiles of office processes that are no longer running.
void RemoveStaleProfiles(const std::string& root);

class OfficeProcess {
  public:
    // Starts soffice.bin from `programDir`, listening on the pipe `pipeName`. Raises
    // automation::Error when it cannot be started at all.
    OfficeProcess(const std::string& programDir, const std::string& pipeName, bool headless);
    // Ends the process unless detach() was called.
    ~OfficeProcess();
    OfficeProcess(const OfficeProcess&) = delete;
    OfficeProcess& operator=(const OfficeProcess&) = delete;

    pid_t pid() const { return pid_; }
    bool alive() const;
    void kill();
    // Waits up to `limit` for the process to end on its own; answers whether it did.
    bool waitForExit(std::chrono::milliseconds limit) const;
    // Leaves the process running when this object goes: it belongs to the user now.
    void detach() { detached_ = true; }
    // Starts the same office again on the same profile (after a first start that only set
    // the profile up and exited).
    void restart();

  private:
    void spawn();

    std::string programDir_;
    std::string pipeName_;
    std::string profile_;
    bool headless_;
    pid_t pid_ = -1;
    bool detached_ = false;
};

}  // namespace office
