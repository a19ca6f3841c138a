// One office process of our own: started in its own session with a private user profile, so a
// LibreOffice that the user has open is never touched, and able to outlive this program.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>

namespace office {

// Checks that the office in `programDir` has what standing in for Word needs: the office, its
// word processor and the Word filters. Raises automation::Error naming the package to install.
void CheckOfficeInstalled(const std::string& programDir);

// The folder that holds the private profiles, one sub-folder per office process: below
// $XDG_RUNTIME_DIR, else in /tmp. Raises automation::Error when it is not safe to use.
std::string ProfileRoot();

// Makes `path` a folder that only we can enter, or checks that the one there already is: a real
// folder (not a link), ours, with no access for anyone else. Raises automation::Error otherwise,
// having written nothing.
void EnsurePrivateFolder(const std::string& path);

// The state letter that /proc gives a process or thread in its stat file ('R' running, 'S'
// asleep, 'Z' ended and not yet reaped...), or 0 when there is no such file.
char StateInProc(const std::string& statFile);

// Whether the process with this number runs (an ended one not yet reaped does not). For the
// offices of other copies of the program: only ever looked at, never signalled.
bool ProcessRunning(pid_t pid);

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
    // Kills the process if it still runs. Held by a process descriptor, never by its number,
    // so once it has ended no other process that came to carry the number is signalled.
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
    void release();

    std::string programDir_;
    std::string pipeName_;
    std::string profile_;
    bool headless_;
    pid_t pid_ = -1;
    int pidfd_ = -1;
    bool detached_ = false;
};

}  // namespace office
